#pragma once

#include <cstdint>

#include "core/MapCell.h"

namespace velmora {

struct AnalysisState;
class Canvas;

// Draws the conduction-velocity arrows the velocity calculation left in the velocity grid.
class VelocityArrows {
 public:
  // Arrows follow the gradient of activation times, so only a map whose cells hold times gets
  // them: the time map, and the velocity map, whose cells keep the times its speeds come from.
  // (A wave map holds times too; it computes and draws its arrows itself.)
  static bool MapKindHoldsTimes(uint8_t mapKind);
  // Whether the map being drawn gets arrows, and so whether its statistics have velocities.
  static bool Shown(const AnalysisState& state);

  // One arrow per grid square that has a speed, in black.
  static void DrawArrows(const AnalysisState& state, Canvas& canvas);
  // The shaft from start to tip, then the two strokes of the head.
  static void DrawArrow(Canvas& canvas, const VelocityCell& square);
};

}  // namespace velmora
