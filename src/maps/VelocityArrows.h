#pragma once

#include "core/MapCell.h"

namespace velmora {

struct AnalysisState;
class Canvas;

// Draws the conduction-velocity arrows the velocity calculation left in the velocity grid.
class VelocityArrows {
 public:
  // One arrow per grid square that has a speed, in black.
  static void DrawArrows(const AnalysisState& state, Canvas& canvas);
  // The shaft from start to tip, then the two strokes of the head.
  static void DrawArrow(Canvas& canvas, const VelocityCell& square);
};

}  // namespace velmora
