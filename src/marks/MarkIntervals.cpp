#include "marks/MarkIntervals.h"

#include <vector>

#include "core/AnalysisState.h"
#include "core/Arithmetic.h"

namespace velmora {

namespace {

// The latest time before mark `self` among the marks of its electrode that count as its
// predecessor (only slow waves for a slow wave, any live mark otherwise), or NoValue.
int32_t PreviousTime(const AnalysisState& s, const std::vector<int32_t>& sameElectrode, int self) {
  const MarkRecord& mark = s.Mark(self);
  int32_t previous = kNoValue;
  bool found = false;
  for (int32_t n : sameElectrode) {
    if (n == self) continue;
    const MarkRecord& other = s.Mark(n);
    if (other.Kind == kNoValue || other.Time >= mark.Time) continue;
    if (mark.Kind == kSlowWave && other.Kind != kSlowWave) continue;
    if (!found || other.Time > previous) previous = other.Time;
    found = true;
  }
  return previous;
}

}  // namespace

void MarkIntervals::CalcMarkIntervals(AnalysisState& s) {
  std::vector<std::vector<int32_t>> byElectrode(kChannels + 1);
  for (int n = 1; n <= s.MarkCount; ++n) {
    const int e = s.Mark(n).Electrode;
    if (e >= 1 && e <= kChannels) byElectrode[size_t(e)].push_back(n);
  }
  const int64_t end = int64_t(s.CurBegin) + s.CurWindow;
  for (int n = 1; n <= s.MarkCount; ++n) {
    const MarkRecord& mark = s.Mark(n);
    int32_t& interval = s.MarkAmplitudes[size_t(n - 1)].Interval;
    interval = kNoValue;
    if (mark.Electrode < 1 || mark.Electrode > kChannels || mark.Kind == kNoValue) continue;
    if (mark.Time < s.CurBegin || mark.Time > end) continue;
    const int32_t previous = PreviousTime(s, byElectrode[mark.Electrode], n);
    if (previous == kNoValue) continue;
    const int32_t value = TimeBetween(previous, mark.Time);
    if (value == kNoValue) continue;
    if (s.LimitIntervals && value >= s.MaxIntervalValue) continue;
    interval = value;
  }
}

}  // namespace velmora
