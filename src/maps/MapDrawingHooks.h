#pragma once

#include <functional>

namespace velmora {

struct AnalysisState;

// The computations a map redraw runs around its drawing. Each is optional: an empty hook is
// skipped, so a caller can redraw a grid it filled itself.
struct MapDrawingHooks {
  std::function<void(AnalysisState&)> FillMapGrid;
  std::function<void(AnalysisState&)> ExpandMapGrid;
  // Fills the velocity grid; the arrows are then drawn from it.
  std::function<void(AnalysisState&)> CalcVelocities;
  // The statistics of the map just drawn; they go to the statistics memo, not the pane.
  std::function<void(AnalysisState&)> CalcMapStats;
};

}  // namespace velmora
