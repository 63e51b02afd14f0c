#pragma once

#include <functional>

namespace velmora {

struct AnalysisState;
class Canvas;

// The computations a map redraw runs around its drawing. Each is optional: an empty hook is
// skipped, so a caller can redraw a grid it filled itself.
struct MapDrawingHooks {
  std::function<void(AnalysisState&)> FillMapGrid;
  std::function<void(AnalysisState&)> ExpandMapGrid;
  // Fills the velocity grid; the arrows are then drawn from it.
  std::function<void(AnalysisState&)> CalcVelocities;
  std::function<void(AnalysisState&, Canvas&)> DrawMapStatistics;
};

}  // namespace velmora
