#include "maps/ConnectionMaking.h"

#include <algorithm>
#include <climits>
#include <iterator>
#include <memory>
#include <vector>

#include "core/AnalysisState.h"
#include "core/TraceChannel.h"
#include "maps/ChannelMarkLists.h"
#include "maps/ConnectionEdits.h"

namespace velmora {

namespace {

using Entry = ChannelMarkLists::Entry;

bool IsChannel(int32_t channel) { return channel >= 1 && channel <= kChannels; }

// Partner search over marks whose times rise in store order (as automatic marking leaves
// them): the partners of a mark at `time` are a run starting at the first time above
// time - maxDiff, so the first of them in store order is there. The cursor moves forward while
// the sources' times rise and is searched again when one falls back; the list's end mark
// stops it.
class RisingPartners {
 public:
  RisingPartners(const Entry* first, const Entry* last, int64_t maxDiff)
      : first_(first), last_(last), cursor_(first), maxDiff_(maxDiff) {}

  const Entry* First(int64_t time) {
    const int64_t lowest = time - maxDiff_;  // exclusive
    if (time < previousTime_)
      cursor_ = std::upper_bound(first_, last_, lowest, [](int64_t value, const Entry& e) { return value < e.time; });
    previousTime_ = time;
    while (cursor_->time <= lowest) ++cursor_;
    return cursor_ != last_ && cursor_->time < time + maxDiff_ ? cursor_ : nullptr;
  }

 private:
  const Entry* first_;
  const Entry* last_;
  const Entry* cursor_;
  int64_t maxDiff_;
  int64_t previousTime_ = INT64_MIN;
};

// Partner search over marks in any order: the first in store order near enough.
class ScannedPartners {
 public:
  ScannedPartners(const Entry* first, const Entry* last, int64_t maxDiff)
      : first_(first), last_(last), maxDiff_(maxDiff) {}

  const Entry* First(int64_t time) const {
    for (const Entry* entry = first_; entry != last_; ++entry) {
      const int64_t apart = entry->time - time;
      if (apart < maxDiff_ && -apart < maxDiff_) return entry;
    }
    return nullptr;
  }

 private:
  const Entry* first_;
  const Entry* last_;
  int64_t maxDiff_;
};

// Whether the times never fall in store order. Reads every mark without stopping early, which
// lets the compiler compare several marks at a time.
bool Rising(const Entry* first, const Entry* last) {
  bool falls = false;
  for (const Entry* entry = first; entry + 1 < last; ++entry) falls |= entry[1].time < entry[0].time;
  return !falls;
}

// Connects the marks of `channel` to those of `next`, flagging them in the store as it goes.
// `recheck`: the channel was a source on an earlier trace of this run, so some of its marks may
// have been connected since the gathering.
template <typename Partners>
int ConnectSources(AnalysisState& s, const ChannelMarkLists& lists, int32_t channel, int32_t next, bool recheck,
                   Partners partners) {
  MarkRecord* const store = s.Marks.data();
  bool full = s.ConnectionCount >= kMaxConnections;
  int appended = 0;
  for (const Entry *entry = lists.Begin(channel), *end = lists.End(channel); entry != end; ++entry) {
    const int32_t number = entry->number;
    if (number < 0 || (recheck && store[number - 1].Connected != 0)) continue;
    const int32_t time = entry->time;
    const Entry* partner = partners.First(time);
    if (partner == nullptr) continue;
    store[number - 1].Connected = 1;
    if (full) continue;  // the mark stays flagged all the same
    const int16_t direction = time < partner->time ? 1 : -1;
    appended += ConnectionEdits::AppendConnection(s, {channel, time, next, partner->time, direction});
    full = s.ConnectionCount >= kMaxConnections;
  }
  return appended;
}

int ConnectTrace(AnalysisState& s, const ChannelMarkLists& lists, int32_t channel, int32_t next, bool recheck) {
  const int64_t maxDiff = s.ConnectMaxDiff;
  if (maxDiff <= 0) return 0;  // no two times are less than that apart
  const Entry* const first = lists.Begin(next);
  const Entry* const last = lists.End(next);
  if (Rising(first, last))
    return ConnectSources(s, lists, channel, next, recheck, RisingPartners(first, last, maxDiff));
  return ConnectSources(s, lists, channel, next, recheck, ScannedPartners(first, last, maxDiff));
}

}  // namespace

ConnectionMaking::ConnectionMaking() : lists_(std::make_unique<ChannelMarkLists>()) {}

ConnectionMaking::~ConnectionMaking() = default;

int ConnectionMaking::MakeConnections(AnalysisState& s) {
  std::vector<int32_t> traceChannels, channels;
  for (int trace = 1; trace <= s.NrTraces; ++trace) traceChannels.push_back(TraceChannel(s, trace));
  std::copy_if(traceChannels.begin(), traceChannels.end(), std::back_inserter(channels), IsChannel);
  lists_->Gather(s, channels, s.CurBegin, int64_t(s.CurBegin) + s.CurWindow);
  std::vector<uint8_t> wasSource(kChannels + 1, 0);
  int appended = 0;
  for (size_t i = 0; i + 1 < traceChannels.size(); ++i) {
    const int32_t channel = traceChannels[i], next = traceChannels[i + 1];
    // A trace without a channel has nothing to connect from.
    if (!IsChannel(channel) || s.ChannelValid[size_t(channel - 1)] == kNoValue || !IsChannel(next)) continue;
    appended += ConnectTrace(s, *lists_, channel, next, wasSource[size_t(channel)] != 0);
    wasSource[size_t(channel)] = 1;
  }
  return appended;
}

}  // namespace velmora
