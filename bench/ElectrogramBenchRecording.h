#pragma once

#include <memory>
#include <string>

#include "core/AnalysisState.h"

namespace velmora::bench {

// The largest sample recording (256 channels, 65,535 frames), loaded once for the whole
// benchmark run, with 5,000 marks spread over its electrodes and time.
class ElectrogramBenchRecording {
 public:
  static ElectrogramBenchRecording& Get();
  ~ElectrogramBenchRecording();

  AnalysisState& State() { return *state_; }
  // Pane A as the benchmarks draw it: 24 traces from channel 17 on a 1600 x 900 buffer, times
  // shown, offsets from the window's mean.
  void ShowWindow(int begin, int window);
  // The same pane over `state`.
  static void ShowWindowOf(AnalysisState& state, int begin, int window);

 private:
  ElectrogramBenchRecording();
  std::unique_ptr<AnalysisState> state_;
  std::string folder_;
};

}  // namespace velmora::bench
