#pragma once

#include <cstdint>
#include <optional>

#include "core/MapCell.h"
#include "maps/ArrowGeometry.h"

namespace velmora {

struct AnalysisState;

// Conduction velocities over the squares of the map grid, from the activation times in the
// cells' Value fields. Fills the velocity grid (speed, direction, arrow points); the map
// drawing draws the arrows of the squares whose Speed is not NoValue.
class VelocityCalculation {
 public:
  struct Velocity {
    double vx = 0, vy = 0;  // mm/ms along columns and rows
    double speed = 0;       // cm/s
  };

  // The velocity of a square with corner times A (bottom left), B (bottom right),
  // C (top right), D (top left), electrodes `distance` mm apart and `step` cells across.
  // Nothing when a corner is negative (no value), the times are flat, or the distance or
  // step leaves no square to measure.
  static std::optional<Velocity> SquareVelocity(int32_t a, int32_t b, int32_t c, int32_t d, double distance,
                                                int step);
  // Recomputes the whole velocity grid; returns the number of squares accepted.
  static int CalcVelocities(AnalysisState& state);

 private:
  static void PlaceArrow(const AnalysisState& state, VelocityCell& square, PixelPoint start, const Velocity& v);
};

inline int CalcVelocities(AnalysisState& state) { return VelocityCalculation::CalcVelocities(state); }

}  // namespace velmora
