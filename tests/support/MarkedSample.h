#pragma once

#include <memory>

#include "core/AnalysisState.h"
#include "core/DataRoot.h"
#include "input/SampleRecording.h"
#include "input/SampleScore.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"

namespace velmora::testing {

// A generated recording opened as the workbench opens it (smoothed unless told), marked over
// its whole length by `method` (AutomaticMarking's DetectionMethod), and scored against its
// truth.
struct MarkedSample {
  MarkedSample(const SampleSettings& settings, int method, bool smooth = true);
  MarkScore Score() const;

  SampleSettings settings;
  TempDir dir;
  DataRoot root;
  ScriptedUi ui;
  std::unique_ptr<AnalysisState> state = std::make_unique<AnalysisState>();
  MarkScore score;
};

}  // namespace velmora::testing
