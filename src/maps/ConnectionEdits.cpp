#include "maps/ConnectionEdits.h"

#include <cstdlib>
#include <vector>

#include "core/AnalysisState.h"
#include "marks/TraceLayout.h"

namespace velmora {

namespace {

constexpr int32_t kKeyReach = 500;        // ms around the pointer for keys 1 and 2
constexpr int32_t kPairReach = 3000;      // ms around the pointer for key Y

bool Near(int32_t time, int32_t pointer, int32_t reach) { return std::abs(int64_t(time) - pointer) < reach; }

// The times of the marks of `channel` less than `reach` from `time`, in store order.
std::vector<int32_t> MarkTimesNear(const AnalysisState& s, int32_t channel, int32_t time, int32_t reach) {
  std::vector<int32_t> times;
  for (int n = 1; n <= s.MarkCount; ++n) {
    const MarkRecord& mark = s.Mark(n);
    if (mark.Electrode == channel && Near(mark.Time, time, reach)) times.push_back(mark.Time);
  }
  return times;
}

}  // namespace

bool ConnectionEdits::AppendConnection(AnalysisState& s, const ConnectionRecord& record) {
  if (s.ConnectionCount >= kMaxConnections) return false;
  s.ConnectionCount += 1;
  s.Connection(s.ConnectionCount) = record;
  s.ConnectionsChanged = true;
  return true;
}

void ConnectionEdits::SelectFirstEnd(AnalysisState& s) {
  const std::vector<int32_t> times = MarkTimesNear(s, s.PointerChannel, s.PointerTime, kKeyReach);
  s.ConnectFirstChannel = s.PointerChannel;
  s.ConnectFirstTime = times.empty() ? kNoValue : times.back();
}

int ConnectionEdits::SelectSecondEnd(AnalysisState& s) {
  s.ConnectSecondChannel = s.PointerChannel;
  int appended = 0;
  for (int32_t time : MarkTimesNear(s, s.PointerChannel, s.PointerTime, kKeyReach)) {
    s.ConnectSecondTime = time;
    if (s.ConnectFirstTime == kNoValue) continue;
    appended += AppendConnection(s, {s.ConnectFirstChannel, s.ConnectFirstTime, s.ConnectSecondChannel, time, 1});
  }
  return appended;
}

void ConnectionEdits::DeleteConnectionsAtTime(AnalysisState& s, int32_t channel, int32_t time) {
  for (int n = 1; n <= s.ConnectionCount; ++n) {
    ConnectionRecord& record = s.Connection(n);
    const bool spans = (record.FromTime < time && time < record.ToTime) ||
                       (record.ToTime < time && time < record.FromTime);
    if (!spans) continue;
    if (record.FromChannel == channel || record.ToChannel == channel) record.FromChannel = kNoValue;
    s.ConnectionsChanged = true;
  }
}

std::pair<int32_t, int32_t> ConnectionEdits::ChoosePair(AnalysisState& s) {
  const bool upperHalf = s.PointerY < TraceLayout::Centre(s, s.PointerTrace);
  const int32_t first = upperHalf ? s.PointerChannel - 1 : s.PointerChannel;
  s.ConnectFirstChannel = first;
  s.ConnectSecondChannel = first + 1;
  return {first, first + 1};
}

bool ConnectionEdits::ConnectAroundTime(AnalysisState& s, int32_t first, int32_t second, int32_t time) {
  const std::vector<int32_t> fromTimes = MarkTimesNear(s, first, time, kPairReach);
  const std::vector<int32_t> toTimes = MarkTimesNear(s, second, time, kPairReach);
  ConnectionRecord record;
  bool found = false;
  for (int32_t from : fromTimes) {
    for (int32_t to : toTimes) {
      if (from < to) {
        record = {first, from, second, to, 1};
        found = true;
      } else {
        record.Direction = -1;
      }
    }
  }
  // Only a pair in time order makes a record; without one no slot is taken, so nothing an
  // earlier table left in the next slot comes back.
  return found && AppendConnection(s, record);
}

void ConnectionEdits::DeleteConnectionsBetween(AnalysisState& s, int32_t first, int32_t second) {
  for (int n = 1; n <= s.ConnectionCount; ++n) {
    ConnectionRecord& record = s.Connection(n);
    if (record.FromChannel <= first && record.ToChannel >= second) record.FromChannel = kNoValue;
  }
  for (int n = 1; n <= s.ConnectionCount; ++n) {
    ConnectionRecord& record = s.Connection(n);
    if (record.FromChannel >= first && record.ToChannel <= second) record.FromChannel = kNoValue;
  }
  s.ConnectionsChanged = true;
}

}  // namespace velmora
