#include "conditioning/FilterRun.h"

#include <algorithm>
#include <atomic>
#include <climits>
#include <cmath>
#include <exception>
#include <memory>
#include <thread>

#include <fmt/format.h>

#include "core/AnalysisState.h"
#include "core/Errors.h"
#include "core/Limits.h"
#include "core/Ui.h"
#include "conditioning/FilterSweep.h"

namespace velmora {

namespace {

constexpr double kHighestShare = 0.45;  // of the rate: a cut-off or notch must lie below it
constexpr int64_t kRowsBetweenChecks = 8192;

}  // namespace

FilterRun::Design FilterRun::Make(const FilterChain& chain, int rateHz) {
  Design design;
  const double highest = kHighestShare * rateHz;
  for (int k = 1; chain.mainsHz > 0 && k <= chain.mainsHarmonics; ++k) {
    const double hz = double(k) * chain.mainsHz;
    if (hz < highest)
      design.sections.push_back(Biquad::Notch(hz, rateHz, kNotchQ));
    else
      design.leftOut.push_back(fmt::format("the notch at {} Hz (the rate is {} Hz)", hz, rateHz));
  }
  if (chain.baselineSeconds > 0) design.sections.push_back(Biquad::HighPass(1.0 / chain.baselineSeconds, rateHz));
  if (chain.lowPassHz > 0 && chain.lowPassHz < highest)
    design.sections.push_back(Biquad::LowPass(chain.lowPassHz, rateHz));
  else if (chain.lowPassHz > 0)
    design.leftOut.push_back(fmt::format("the low-pass at {} Hz (the rate is {} Hz)", chain.lowPassHz, rateHz));
  if (chain.smoothingMs > 0) {
    const int half = int(std::lround(chain.smoothingMs * rateHz / 2000.0));
    design.smoothing = SavitzkyGolayWeights(half, chain.smoothingOrder);
    if (design.smoothing.empty())
      design.leftOut.push_back(fmt::format("Savitzky-Golay smoothing over {} ms: too few samples for order {}",
                                           chain.smoothingMs, chain.smoothingOrder));
  }
  return design;
}

bool FilterRun::Apply(int32_t* store, int64_t rows, const std::vector<int>& columns, const Design& design,
                      const std::function<bool(double)>& between) {
  if (rows < 2 || (design.sections.empty() && design.smoothing.empty())) return true;
  std::vector<bool> filtered(kChannels, false);
  for (const int c : columns) filtered[size_t(c)] = true;
  std::vector<int> blocks;
  for (int b = 0; b < kChannels / FilterSweep::kLanes; ++b)
    if (std::any_of(filtered.begin() + b * FilterSweep::kLanes, filtered.begin() + (b + 1) * FilterSweep::kLanes,
                    [](bool f) { return f; }))
      blocks.push_back(b);
  std::atomic<bool> stop{false};
  // Each thread sweeps a half of the blocks over all the rows, forward and then backward;
  // the first tells the progress and takes the cancel, which stops the second too.
  auto sweep = [&](std::vector<int> mine, bool reports) {
    FilterSweep lanes(store, rows, mine, filtered, design.sections, design.smoothing);
    const auto checked = [&](int64_t done) {
      if (reports && !between(double(done) / double(2 * rows))) stop = true;
      return !stop;
    };
    for (int64_t r = 0; r < rows; r += kRowsBetweenChecks) {
      lanes.Forward(r + kRowsBetweenChecks);
      if (!checked(std::min(r + kRowsBetweenChecks, rows))) return;
    }
    for (int64_t r = rows; r > 0; r -= kRowsBetweenChecks) {
      lanes.Backward(r - kRowsBetweenChecks);
      if (!checked(2 * rows - std::max<int64_t>(r - kRowsBetweenChecks, 0))) return;
    }
  };
  const auto middle = blocks.begin() + ptrdiff_t(blocks.size() / 2);
  std::exception_ptr failed;
  std::thread second;
  if (middle != blocks.begin()) second = std::thread([&] {
      try {
        sweep(std::vector<int>(blocks.begin(), middle), false);
      } catch (...) {
        failed = std::current_exception();
        stop = true;
      }
    });
  try {
    sweep(std::vector<int>(middle, blocks.end()), true);
  } catch (...) {
    stop = true;
    if (second.joinable()) second.join();
    throw;
  }
  if (second.joinable()) second.join();
  if (failed) std::rethrow_exception(failed);
  return !stop;
}

void FilterRun::Run() {
  AnalysisState& s = state_;
  const FilterChain chain = FilterChain::FromState(s);
  s.Acquisition.filters = "none";
  if (!chain.Any() || s.Acquisition.Empty()) return;
  const Design design = Make(chain, s.SamplingF);
  for (const std::string& step : design.leftOut) ui_.Log("filters: left out " + step);
  std::vector<int> columns;
  for (const AcquisitionSignal& signal : s.Acquisition.fileSignals)
    if (signal.use == AcquisitionSignal::Use::Electrode) columns.push_back(signal.number - 1);
  ui_.ShowProgress({s.ElgFileName.substr(s.ElgFileName.find_last_of('/') + 1), "", 100});
  ui_.SetProgressText("Filtering electrograms ...");
  int shown = 0;
  const bool finished = Apply(s.Signals.data(), s.SignalRows(), columns, design, [&](double share) {
    for (; shown < int(share * 100); ++shown) ui_.StepProgress();
    ui_.ProcessEvents();
    return !ui_.CancelRequested();
  });
  s.SignalsChanged();
  if (!finished) throw Cancelled("filtering " + s.ElgFileName);
  s.Acquisition.filters = chain.Text();
}

}  // namespace velmora
