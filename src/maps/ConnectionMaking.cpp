#include "maps/ConnectionMaking.h"

#include <algorithm>

#include "core/AnalysisState.h"
#include "core/TraceChannel.h"
#include "maps/ConnectionEdits.h"

namespace velmora {

namespace {

bool IsChannel(int32_t channel) { return channel >= 1 && channel <= kChannels; }

// The marks of the channels on the traces, grouped by channel in store order: those of channel
// c are at [start[c], start[c + 1]). Two passes over the store instead of one per trace.
struct MarksByChannel {
  std::vector<int32_t> start = std::vector<int32_t>(kChannels + 2, 0);
  std::vector<int32_t> numbers;
  std::vector<int32_t> times;

  MarksByChannel(const AnalysisState& s, const std::vector<int32_t>& channels) {
    std::vector<char> wanted(kChannels + 1, 0);
    for (int32_t channel : channels)
      if (IsChannel(channel)) wanted[size_t(channel)] = 1;
    for (int n = 1; n <= s.MarkCount; ++n) {
      const int electrode = s.Mark(n).Electrode;
      if (electrode <= kChannels && wanted[size_t(electrode)]) ++start[size_t(electrode) + 1];
    }
    for (int c = 1; c <= kChannels + 1; ++c) start[size_t(c)] += start[size_t(c - 1)];
    numbers.resize(size_t(start[kChannels + 1]));
    times.resize(numbers.size());
    std::vector<int32_t> next(start.begin(), start.end() - 1);
    for (int n = 1; n <= s.MarkCount; ++n) {
      const MarkRecord& mark = s.Mark(n);
      if (mark.Electrode > kChannels || !wanted[mark.Electrode]) continue;
      const size_t at = size_t(next[mark.Electrode]++);
      numbers[at] = n;
      times[at] = mark.Time;
    }
  }
};

// The times of the marks of the next trace that lie in the window, in store order. A mark of
// the current trace takes the first of them less than ConnectMaxDiff away. When the times
// rise with the store order (as automatic marking leaves them) the qualifying ones are a run
// that starts at the first time above t - ConnectMaxDiff, found with a pointer moving forward.
class Partners {
 public:
  Partners(const MarksByChannel& marks, int32_t channel, int64_t begin, int64_t end, int64_t maxDiff)
      : maxDiff_(maxDiff) {
    for (int32_t at = marks.start[size_t(channel)]; at < marks.start[size_t(channel) + 1]; ++at) {
      const int32_t time = marks.times[size_t(at)];
      if (time >= begin && time <= end) times_.push_back(time);
    }
    sorted_ = std::is_sorted(times_.begin(), times_.end());
  }

  // The time of the first partner of a mark at `time`, or nothing.
  bool Find(int64_t time, int32_t& partner) {
    const auto found = sorted_ ? FindInRising(time) : FindByScan(time);
    if (found == times_.end()) return false;
    partner = *found;
    return true;
  }

 private:
  std::vector<int32_t>::const_iterator FindInRising(int64_t time) {
    const int64_t lowest = time - maxDiff_;  // exclusive
    if (time < previous_) {
      next_ = std::upper_bound(times_.begin(), times_.end(), lowest,
                               [](int64_t value, int32_t t) { return value < t; }) - times_.begin();
    }
    while (next_ < times_.size() && times_[next_] <= lowest) ++next_;
    previous_ = time;
    if (next_ < times_.size() && times_[next_] < time + maxDiff_) return times_.begin() + std::ptrdiff_t(next_);
    return times_.end();
  }

  std::vector<int32_t>::const_iterator FindByScan(int64_t time) const {
    return std::find_if(times_.begin(), times_.end(), [&](int32_t t) {
      const int64_t apart = t - time;
      return apart < maxDiff_ && -apart < maxDiff_;
    });
  }

  std::vector<int32_t> times_;
  int64_t maxDiff_;
  bool sorted_ = true;
  size_t next_ = 0;
  int64_t previous_ = INT64_MIN;
};

int ConnectTrace(AnalysisState& s, const MarksByChannel& marks, int32_t channel, int32_t next) {
  const int64_t begin = s.CurBegin;
  const int64_t end = begin + s.CurWindow;
  Partners partners(marks, next, begin, end, s.ConnectMaxDiff);
  int appended = 0;
  for (int32_t at = marks.start[size_t(channel)]; at < marks.start[size_t(channel) + 1]; ++at) {
    MarkRecord& mark = s.Mark(marks.numbers[size_t(at)]);
    if (mark.Connected != 0 || mark.Time < begin || mark.Time > end) continue;
    int32_t partner = 0;
    if (!partners.Find(mark.Time, partner)) continue;
    mark.Connected = 1;
    const int16_t direction = mark.Time < partner ? 1 : -1;
    appended += ConnectionEdits::AppendConnection(s, {channel, mark.Time, next, partner, direction});
  }
  return appended;
}

}  // namespace

int ConnectionMaking::MakeConnections(AnalysisState& s) {
  std::vector<int32_t> channels;
  for (int trace = 1; trace <= s.NrTraces; ++trace) channels.push_back(TraceChannel(s, trace));
  const MarksByChannel marks(s, channels);
  int appended = 0;
  for (size_t i = 0; i + 1 < channels.size(); ++i) {
    const int32_t channel = channels[i], next = channels[i + 1];
    // A trace without a channel has nothing to connect from.
    if (!IsChannel(channel) || s.ChannelValid[size_t(channel - 1)] == kNoValue || !IsChannel(next)) continue;
    appended += ConnectTrace(s, marks, channel, next);
  }
  return appended;
}

}  // namespace velmora
