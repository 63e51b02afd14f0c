#pragma once

#include <memory>

#include "core/AnalysisState.h"

namespace velmora::bench {

// A ten-minute recording (600,000 rows of 256 channels, 614 MB) made by repeating the rows of
// the 65 s benchmark recording, built once for the run. The store is sized to it here, as a
// load of a long recording sizes it.
class LongBenchRecording {
 public:
  static constexpr int kRows = 600000;

  static LongBenchRecording& Get();

  AnalysisState& State() { return *state_; }
  // The whole recording in pane A, drawn as ElectrogramBenchRecording::ShowWindow draws.
  void ShowWholeRecording();

 private:
  LongBenchRecording();
  std::unique_ptr<AnalysisState> state_;
};

}  // namespace velmora::bench
