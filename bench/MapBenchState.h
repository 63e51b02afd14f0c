#pragma once

#include <memory>

#include "core/AnalysisState.h"

namespace velmora::bench {

inline constexpr int kMapCols = 16, kMapRows = 15, kMapCells = kMapCols * kMapRows;

// A 16 x 15 grid of channels 17..256 and a full store: every channel gets its marks from a
// start time that grows across the grid, so the time map spans nearly 60 s.
std::unique_ptr<AnalysisState> FullMapState();

}  // namespace velmora::bench
