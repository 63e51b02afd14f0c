#include "marks/AmplitudeCalculation.h"

#include <algorithm>
#include <vector>

#include "core/AnalysisState.h"
#include "core/Arithmetic.h"
#include "marks/MarkSettingsFile.h"

namespace velmora {

namespace {

constexpr double kPerSecond = 40.0;     // 1000 / 25
constexpr int32_t kMaxStart = -12345, kMinStart = 12345;

// Per electrode the times of its slow-wave marks, ascending, so the previous slow wave of
// a mark is one binary search away.
std::vector<std::vector<int32_t>> SlowWaveTimes(const AnalysisState& s) {
  std::vector<std::vector<int32_t>> times(size_t(kChannels) + 1);
  for (int n = 1; n <= s.MarkCount; ++n) {
    const MarkRecord& mark = s.Mark(n);
    if (mark.Kind == kSlowWave && mark.Electrode >= 1 && mark.Electrode <= kChannels)
      times[mark.Electrode].push_back(mark.Time);
  }
  for (auto& list : times) std::sort(list.begin(), list.end());
  return times;
}

int32_t PreviousInterval(const std::vector<int32_t>& times, int32_t time) {
  const auto later = std::lower_bound(times.begin(), times.end(), time);
  if (later == times.begin()) return kNoValue;
  return TimeBetween(*(later - 1), time);
}

}  // namespace

void AmplitudeCalculation::CalcAmplitudes(AnalysisState& s) {
  MarkSettingsFile::CaptureAmplitudes(s);
  for (AmplitudeRecord& record : s.MarkAmplitudes) record.Electrode = kNoValue;
  const auto times = SlowWaveTimes(s);
  for (int n = 1; n <= s.MarkCount; ++n) {
    const MarkRecord& mark = s.Mark(n);
    if (mark.Kind != kSlowWave || mark.Electrode <= 16 || mark.Electrode >= 257) continue;
    if (mark.Time <= 0 || mark.Time >= s.SigLength) continue;
    s.MarkAmplitudes[size_t(n - 1)] =
        Measure(s, mark.Electrode, mark.Time, PreviousInterval(times[mark.Electrode], mark.Time));
  }
}

// One walk over the window finds the largest and smallest value and the steepest fall.
// Open points settled here: with no value above -12345 (or below 12345) the sample is
// NoValue; when the signal never falls over 24 samples in the window, SteepSample is 0 and
// Slope 0. A fall whose far end lies beyond SigLength is not measured.
AmplitudeRecord AmplitudeCalculation::Measure(const AnalysisState& s, int32_t electrode, int32_t time,
                                              int32_t interval) {
  const int64_t centre = RoundHalfEven(double(time) * s.SamplingF / 1000.0);
  const int64_t half = RoundHalfEven(double(kHalfWindowMs) * s.SamplingF / 1000.0);
  const int64_t last = std::min<int64_t>(s.SigLength, kSignalRows);
  const int64_t from = std::max<int64_t>(centre - half, 1), to = std::min<int64_t>(centre + half, last);
  const int32_t* column = s.Signals.data() + (electrode - 1);
  const auto value = [&](int64_t sample) { return column[(sample - 1) * kChannels]; };
  AmplitudeRecord r;
  r.MaxValue = kMaxStart, r.MaxSample = kNoValue, r.MinValue = kMinStart, r.MinSample = kNoValue;
  int64_t steepest = 0;
  r.SteepSample = 0;
  for (int64_t sample = from; sample <= to; ++sample) {
    const int32_t v = value(sample);
    if (v > r.MaxValue) r.MaxValue = v, r.MaxSample = int32_t(sample);
    if (v < r.MinValue) r.MinValue = v, r.MinSample = int32_t(sample);
    if (sample + kSteepSpan > last) continue;
    const int64_t fall = int64_t(value(sample + kSteepSpan)) - v;
    if (fall < steepest) steepest = fall, r.SteepSample = int32_t(sample);
  }
  r.Slope = double(-steepest) / kUnitsPerMv * kPerSecond;
  r.Interval = interval;
  r.Electrode = electrode;
  return r;
}

}  // namespace velmora
