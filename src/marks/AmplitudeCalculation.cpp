#include "marks/AmplitudeCalculation.h"

#include <algorithm>
#include <filesystem>
#include <utility>
#include <vector>

#include "core/AnalysisState.h"
#include "core/SignalStore.h"
#include "core/Arithmetic.h"
#include "core/SignalUnits.h"
#include "core/Ui.h"
#include "marks/MarkSettingsFile.h"

namespace velmora {

namespace {

constexpr int kMarksPerStep = 1024;  // marks between two looks at the progress panel
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
  Fill(s, s.MarkAmplitudes, nullptr);
}

bool AmplitudeCalculation::CalcAmplitudes(AnalysisState& s, Ui& ui) {
  std::vector<AmplitudeRecord> records = s.MarkAmplitudes;
  ui.ShowProgress({std::filesystem::path(s.ElgFileName).filename().string(),
                   std::filesystem::path(s.MatrixFileName).filename().string(), s.MarkCount / kMarksPerStep + 1});
  ui.SetProgressText("calculating amplitudes ...");
  const bool done = Fill(s, records, &ui);
  ui.HideProgress();
  if (done) {
    s.MarkAmplitudes = std::move(records);
    MarkSettingsFile::CaptureAmplitudes(s);
  }
  return done;
}

bool AmplitudeCalculation::Fill(const AnalysisState& s, std::vector<AmplitudeRecord>& records, Ui* ui) {
  for (AmplitudeRecord& record : records) record.Electrode = kNoValue;
  const auto times = SlowWaveTimes(s);
  for (int n = 1; n <= s.MarkCount; ++n) {
    if (ui && n % kMarksPerStep == 0) {
      ui->StepProgress();
      ui->ProcessEvents();
      if (ui->CancelRequested()) return false;
    }
    const MarkRecord& mark = s.Mark(n);
    if (mark.Kind != kSlowWave || mark.Electrode <= 16 || mark.Electrode >= 257) continue;
    if (mark.Time <= 0 || mark.Time >= s.SigLength) continue;
    records[size_t(n - 1)] = Measure(s, mark.Electrode, mark.Time, PreviousInterval(times[mark.Electrode], mark.Time));
  }
  return true;
}

// One walk over the window finds the largest and smallest value and the steepest fall.
// Open points settled here: with no value above -12345 (or below 12345) the sample is
// NoValue; when the signal never falls over 24 samples in the window, SteepSample is 0 and
// Slope 0. A fall whose far end lies beyond SigLength is not measured.
AmplitudeRecord AmplitudeCalculation::Measure(const AnalysisState& s, int32_t electrode, int32_t time,
                                              int32_t interval) {
  const int64_t centre = RoundHalfEven(double(time) * s.SamplingF / 1000.0);
  const int64_t half = RoundHalfEven(double(kHalfWindowMs) * s.SamplingF / 1000.0);
  const int64_t last = std::min<int64_t>(s.SigLength, SignalStore::ZeroPaddedRows(s)), rows = s.SignalRows();
  const int64_t from = std::max<int64_t>(centre - half, 1), to = std::min<int64_t>(centre + half, last);
  const int32_t* column = s.Signals.data() + (electrode - 1);
  // Past a short recording's end, samples read as the zeros the store used to hold there.
  const auto value = [&](int64_t sample) { return sample <= rows ? column[(sample - 1) * kChannels] : 0; };
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
  r.Slope = double(-steepest) / UnitsPerMv(s) * kPerSecond * (s.SamplingF / 1000.0);
  r.Interval = interval;
  r.Electrode = electrode;
  return r;
}

}  // namespace velmora
