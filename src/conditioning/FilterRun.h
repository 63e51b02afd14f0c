#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "conditioning/Biquad.h"
#include "conditioning/FilterChain.h"

namespace velmora {

struct AnalysisState;
class Ui;

// Runs the filter chain over channels of the store. The sections run forward over each
// channel and then backward over what came out, so the phase shifts cancel and no slope or
// peak moves in time; each starts from the steady state of the channel's first value, so a
// channel that starts away from zero sets off no ringing. Savitzky-Golay weights are
// symmetric and are applied as the backward sweep passes. The rows are walked in order, all
// the channels at once (FilterSweep), a half of them on each of two threads.
class FilterRun {
 public:
  static constexpr double kNotchQ = 30;  // a 50 Hz notch is 1.7 Hz wide

  struct Design {
    std::vector<Biquad> sections;
    std::vector<double> smoothing;      // Savitzky-Golay weights; empty when off
    std::vector<std::string> leftOut;   // steps the rate does not allow, said in the log
  };
  static Design Make(const FilterChain& chain, int rateHz);

  // `between` is called now and then with the share of the work done (0 to 1) and returns
  // false to stop; Apply then returns false, and the store's filtered columns are left
  // half-way: the caller puts back the samples it kept.
  static bool Apply(int32_t* store, int64_t rows, const std::vector<int>& columns, const Design& design,
                    const std::function<bool(double)>& between);

  FilterRun(AnalysisState& state, Ui& ui) : state_(state), ui_(ui) {}
  // The chain of the preferences over the electrode channels of the EDF, BDF or GDF
  // recording loaded, with the progress panel; says in the recording's details what ran.
  // Throws Cancelled, the store left half-way (the recording is then put back as it was).
  void Run();

 private:
  AnalysisState& state_;
  Ui& ui_;
};

}  // namespace velmora
