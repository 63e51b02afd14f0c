#pragma once

#include "core/AnalysisState.h"

namespace velmora::testing {

// Fills the whole signal store with 16-bit values that differ from row to row and channel to
// channel, so sums and offsets computed from any window are unlike those of its neighbours.
void FillScrambledSignals(AnalysisState& state);

}  // namespace velmora::testing
