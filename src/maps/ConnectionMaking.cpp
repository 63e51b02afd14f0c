#include "maps/ConnectionMaking.h"

#include <algorithm>
#include <climits>
#include <iterator>
#include <memory>

#include "core/AnalysisState.h"
#include "core/TraceChannel.h"
#include "maps/ConnectionEdits.h"

namespace velmora {

namespace {

bool IsChannel(int32_t channel) { return channel >= 1 && channel <= kChannels; }

struct Window {
  int64_t begin, end;  // both included
  bool Holds(int64_t time) const { return time >= begin && time <= end; }
};

}  // namespace

// The marks of the channels on the traces, grouped by channel in store order: those of channel
// c are at [start[c], start[c + 1]). Two passes over the store instead of one per trace; the
// runs then read these short arrays instead of marks spread over the whole store. The buffers
// are kept from one run to the next: fresh ones of this size cost the system a page clearing
// each time.
struct ConnectionMaking::MarksByChannel {
  struct Entry {
    int32_t number;  // in the store
    int32_t time;
    int32_t connected;  // a whole word, so that setting it leaves the compiler's view of the rest alone
  };
  std::vector<int32_t> wanted, start, next;
  std::vector<Entry> entries;  // only the first start[kChannels + 1] are in use
  // By mark number: connected by this run. The flags go to the store in one pass in store
  // order at the end, rather than scattered over it channel by channel.
  std::vector<uint8_t> connectedNow;

  void Group(const AnalysisState& s, const std::vector<int32_t>& channels) {
    wanted.assign(kChannels + 1, 0);
    for (int32_t channel : channels)
      if (IsChannel(channel)) wanted[size_t(channel)] = 1;
    const MarkRecord* store = s.Marks.data();
    const int count = s.MarkCount;
    start.assign(kChannels + 2, 0);
    for (int i = 0; i < count; ++i) {
      const int electrode = store[i].Electrode;
      if (electrode <= kChannels && wanted[size_t(electrode)]) ++start[size_t(electrode) + 1];
    }
    for (int c = 1; c <= kChannels + 1; ++c) start[size_t(c)] += start[size_t(c - 1)];
    if (entries.size() < size_t(start[kChannels + 1])) entries.resize(size_t(start[kChannels + 1]));
    connectedNow.assign(size_t(count) + 1, 0);
    next.assign(start.begin(), start.end() - 1);
    Entry* out = entries.data();
    for (int i = 0; i < count; ++i) {
      const MarkRecord& mark = store[i];
      if (mark.Electrode > kChannels || !wanted[mark.Electrode]) continue;
      out[next[mark.Electrode]++] = {i + 1, mark.Time, mark.Connected != 0};
    }
  }

  const Entry* Begin(int32_t channel) const { return entries.data() + start[size_t(channel)]; }
  const Entry* End(int32_t channel) const { return entries.data() + start[size_t(channel) + 1]; }
  Entry* Begin(int32_t channel) { return entries.data() + start[size_t(channel)]; }
  Entry* End(int32_t channel) { return entries.data() + start[size_t(channel) + 1]; }
};

namespace {

using MarksByChannel = ConnectionMaking::MarksByChannel;

// The marks of the next trace that lie in the window, in store order: the partners a mark of
// the current trace chooses from.
class Partners {
 public:
  using Entry = MarksByChannel::Entry;

  Partners(const MarksByChannel& marks, int32_t channel, Window window)
      : first_(marks.Begin(channel)), last_(marks.End(channel)) {
    bool allInWindow = true;
    int32_t previous = INT32_MIN;
    for (const Entry* entry = first_; entry != last_; ++entry) {
      if (!window.Holds(entry->time)) {
        allInWindow = false;
        continue;
      }
      rising_ = rising_ && entry->time >= previous;
      previous = entry->time;
    }
    if (allInWindow) return;  // the common case: no copy
    std::copy_if(first_, last_, std::back_inserter(inWindow_), [&](const Entry& e) { return window.Holds(e.time); });
    first_ = inWindow_.data();
    last_ = first_ + inWindow_.size();
  }

  const Entry* First() const { return first_; }
  const Entry* Last() const { return last_; }
  // Whether the times never fall in store order (as automatic marking leaves them).
  bool Rising() const { return rising_; }

 private:
  const Entry* first_;
  const Entry* last_;
  std::vector<Entry> inWindow_;
  bool rising_ = true;
};

using Entry = MarksByChannel::Entry;

// Rising times: the partners of a mark at `time` are a run starting at the first time above
// time - maxDiff, so the first of them in store order is there. `cursor` moves forward while
// the marks' times rise and is searched again when one falls back.
const Entry* FirstInRising(const Entry* first, const Entry* last, const Entry*& cursor, int64_t& previousTime,
                           int64_t time, int64_t maxDiff) {
  const int64_t lowest = time - maxDiff;  // exclusive
  if (time < previousTime)
    cursor = std::upper_bound(first, last, lowest, [](int64_t value, const Entry& e) { return value < e.time; });
  while (cursor != last && cursor->time <= lowest) ++cursor;
  previousTime = time;
  return cursor != last && cursor->time < time + maxDiff ? cursor : nullptr;
}

const Entry* FirstByScan(const Entry* first, const Entry* last, int64_t time, int64_t maxDiff) {
  for (const Entry* entry = first; entry != last; ++entry) {
    const int64_t apart = entry->time - time;
    if (apart < maxDiff && -apart < maxDiff) return entry;
  }
  return nullptr;
}

int ConnectTrace(AnalysisState& s, MarksByChannel& marks, int32_t channel, int32_t next) {
  const Window window{s.CurBegin, int64_t(s.CurBegin) + s.CurWindow};
  const Partners partners(marks, next, window);
  const Entry* const first = partners.First();
  const Entry* const last = partners.Last();
  const bool rising = partners.Rising();
  const int64_t maxDiff = s.ConnectMaxDiff;
  const Entry* cursor = first;
  int64_t previousTime = INT64_MIN;
  uint8_t* connectedNow = marks.connectedNow.data();
  bool full = s.ConnectionCount >= kMaxConnections;
  int appended = 0;
  for (auto *entry = marks.Begin(channel), *end = marks.End(channel); entry != end; ++entry) {
    const int32_t time = entry->time;
    if (entry->connected != 0 || !window.Holds(time)) continue;
    const Entry* partner = rising ? FirstInRising(first, last, cursor, previousTime, time, maxDiff)
                                  : FirstByScan(first, last, time, maxDiff);
    if (partner == nullptr) continue;
    entry->connected = 1;
    connectedNow[entry->number] = 1;
    if (full) continue;  // the mark stays flagged all the same
    const int16_t direction = time < partner->time ? 1 : -1;
    appended += ConnectionEdits::AppendConnection(s, {channel, time, next, partner->time, direction});
    full = s.ConnectionCount >= kMaxConnections;
  }
  return appended;
}

void FlagConnectedMarks(AnalysisState& s, const MarksByChannel& marks) {
  MarkRecord* store = s.Marks.data();
  const uint8_t* connectedNow = marks.connectedNow.data();
  for (int n = 1, count = s.MarkCount; n <= count; ++n)
    if (connectedNow[n] != 0) store[n - 1].Connected = 1;
}

}  // namespace

ConnectionMaking::ConnectionMaking() : marks_(std::make_unique<MarksByChannel>()) {}

ConnectionMaking::~ConnectionMaking() = default;

int ConnectionMaking::MakeConnections(AnalysisState& s) {
  std::vector<int32_t> channels;
  for (int trace = 1; trace <= s.NrTraces; ++trace) channels.push_back(TraceChannel(s, trace));
  marks_->Group(s, channels);
  int appended = 0;
  for (size_t i = 0; i + 1 < channels.size(); ++i) {
    const int32_t channel = channels[i], next = channels[i + 1];
    // A trace without a channel has nothing to connect from.
    if (!IsChannel(channel) || s.ChannelValid[size_t(channel - 1)] == kNoValue || !IsChannel(next)) continue;
    appended += ConnectTrace(s, *marks_, channel, next);
  }
  FlagConnectedMarks(s, *marks_);
  return appended;
}

}  // namespace velmora
