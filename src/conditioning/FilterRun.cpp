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

namespace velmora {

namespace {

constexpr int kGroup = 8;
constexpr double kHighestShare = 0.45;  // of the rate: a cut-off or notch must lie below it
constexpr double kRounder = 0x1.8p52;   // adding and taking away rounds to whole, halves to even

// The walks over the rows are compiled again for the wider vectors of newer processors and
// the widest the processor has is taken when the program starts.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
#define VELMORA_WIDEST_VECTORS __attribute__((target_clones("avx512f", "avx2", "default")))
#else
#define VELMORA_WIDEST_VECTORS
#endif

struct GroupState {
  double s1[kGroup], s2[kGroup];
};

// The states that a constant input x gives output G x with, for each section in turn.
void SteadyStates(const std::vector<Biquad>& sections, const double* first, std::vector<GroupState>& states) {
  double x[kGroup];
  std::copy(first, first + kGroup, x);
  for (size_t k = 0; k < sections.size(); ++k) {
    const Biquad& q = sections[k];
    const double gain = q.DcGain();
    for (int c = 0; c < kGroup; ++c) {
      const double y = gain * x[c];
      states[k].s2[c] = q.b2 * x[c] - q.a2 * y;
      states[k].s1[c] = q.b1 * x[c] - q.a1 * y + states[k].s2[c];
      x[c] = y;
    }
  }
}

inline void RunSections(const std::vector<Biquad>& sections, std::vector<GroupState>& states, double* x) {
  for (size_t k = 0; k < sections.size(); ++k) {
    const Biquad q = sections[k];
    GroupState& s = states[k];
    for (int c = 0; c < kGroup; ++c) {
      const double y = q.b0 * x[c] + s.s1[c];
      s.s1[c] = q.b1 * x[c] - q.a1 * y + s.s2[c];
      s.s2[c] = q.b2 * x[c] - q.a2 * y;
      x[c] = y;
    }
  }
}

inline int32_t Stored(double value) {
  if (!(std::fabs(value) < 2147483647.0)) return std::isnan(value) ? 0 : value > 0 ? INT32_MAX : INT32_MIN;
  return int32_t((value + kRounder) - kRounder);
}

// Forward over the rows into `work`, then backward over `work` in place.
VELMORA_WIDEST_VECTORS void RunBothWays(const int32_t* store, int64_t rows, const int* columns, const std::vector<Biquad>& sections,
                 double* work) {
  for (int64_t r = 0; r < rows; ++r)
    for (int c = 0; c < kGroup; ++c) work[r * kGroup + c] = double(store[r * kChannels + columns[c]]);
  if (sections.empty()) return;
  std::vector<GroupState> states(sections.size());
  SteadyStates(sections, work, states);
  for (int64_t r = 0; r < rows; ++r) RunSections(sections, states, work + r * kGroup);
  SteadyStates(sections, work + (rows - 1) * kGroup, states);
  for (int64_t r = rows - 1; r >= 0; --r) RunSections(sections, states, work + r * kGroup);
}

// Sample i of the group's channels, beyond the ends mirrored through the end sample, so a
// straight line stays straight up to the edge.
inline double Mirrored(const double* work, int64_t rows, int64_t i, int c) {
  if (i < 0) return 2 * work[c] - work[(-i) * kGroup + c];
  if (i >= rows) return 2 * work[(rows - 1) * kGroup + c] - work[(2 * (rows - 1) - i) * kGroup + c];
  return work[i * kGroup + c];
}

VELMORA_WIDEST_VECTORS void WriteBack(int32_t* store, int64_t rows, const int* columns, int used, const std::vector<double>& smoothing,
               const double* work) {
  const int64_t half = int64_t(smoothing.size() / 2);
  for (int64_t r = 0; r < rows; ++r) {
    double value[kGroup];
    if (smoothing.empty() || rows <= 2 * half) {
      std::copy(work + r * kGroup, work + (r + 1) * kGroup, value);
    } else if (r >= half && r + half < rows) {
      std::fill(value, value + kGroup, 0.0);
      for (int64_t k = -half; k <= half; ++k)
        for (int c = 0; c < kGroup; ++c) value[c] += smoothing[size_t(k + half)] * work[(r + k) * kGroup + c];
    } else {
      for (int c = 0; c < kGroup; ++c) {
        value[c] = 0;
        for (int64_t k = -half; k <= half; ++k) value[c] += smoothing[size_t(k + half)] * Mirrored(work, rows, r + k, c);
      }
    }
    for (int c = 0; c < used; ++c) store[r * kChannels + columns[c]] = Stored(value[c]);
  }
}

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
                      const std::function<bool(int)>& between) {
  if (rows < 2 || (design.sections.empty() && design.smoothing.empty())) return true;
  const int groups = int((columns.size() + kGroup - 1) / kGroup);
  std::atomic<int> next{0}, done{0};
  std::atomic<bool> stop{false};
  // Each thread takes the next group until none is left; a group's channels are padded with
  // copies of its last one.
  auto work = [&](bool reports) {
    const std::unique_ptr<double[]> buffer(new double[size_t(rows) * kGroup]);
    for (int g = next++; g < groups && !stop; g = next++) {
      int group[kGroup];
      const int used = std::min<int>(kGroup, int(columns.size()) - g * kGroup);
      for (int c = 0; c < kGroup; ++c) group[c] = columns[size_t(g * kGroup + std::min(c, used - 1))];
      RunBothWays(store, rows, group, design.sections, buffer.get());
      WriteBack(store, rows, group, used, design.smoothing, buffer.get());
      done += used;
      if (reports && !between(done)) stop = true;
    }
  };
  std::exception_ptr failed;
  std::thread second;
  if (groups > 1) second = std::thread([&] {
      try {
        work(false);
      } catch (...) {
        failed = std::current_exception();
        stop = true;
      }
    });
  try {
    work(true);
  } catch (...) {
    stop = true;
    if (second.joinable()) second.join();
    throw;
  }
  if (second.joinable()) second.join();
  if (failed) std::rethrow_exception(failed);
  return !stop || done == int(columns.size());
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
  const bool finished = Apply(s.Signals.data(), s.SignalRows(), columns, design, [&](int channels) {
    ui_.SetProgressText(fmt::format("Filtering electrogram nr = {}", channels));
    for (; shown < channels * 100 / int(columns.size()); ++shown) ui_.StepProgress();
    ui_.ProcessEvents();
    return !ui_.CancelRequested();
  });
  s.SignalsChanged();
  if (!finished) throw Cancelled("filtering " + s.ElgFileName);
  s.Acquisition.filters = chain.Spec();
}

}  // namespace velmora
