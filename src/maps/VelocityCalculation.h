#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "core/MapCell.h"
#include "maps/ArrowGeometry.h"
#include "maps/TimeGrid.h"
#include "maps/VelocityEstimate.h"

namespace velmora {

struct AnalysisState;

// Conduction velocities from the activation times in the cells' Value fields, by the method
// VelocityMethod chooses. Fills the velocity grid (speed, direction, arrow points); the map
// drawing draws the arrows of the slots whose Speed is not NoValue. The square methods fill
// the slot of each square's top-left cell and start its arrow at the square's middle; the
// fit fills each electrode's own slot and starts the arrow at the electrode's centre.
class VelocityCalculation {
 public:
  using Velocity = velmora::Velocity;

  // The velocity of a square with corner times A (bottom left), B (bottom right),
  // C (top right), D (top left), electrodes `distance` mm apart and `step` cells across.
  // Nothing when a corner is negative (no value), the times are flat, or the distance or
  // step leaves no square to measure.
  static std::optional<Velocity> SquareVelocity(double a, double b, double c, double d, double distance, int step);
  // Every velocity the chosen method finds in the current map, before any speed limit.
  static std::vector<VelocityEstimate> Estimate(const AnalysisState& state);
  // The same over any times, such as one wave's.
  static std::vector<VelocityEstimate> Estimate(const AnalysisState& state, const TimeGrid& times);
  // The squares `step` cells across over `times`.
  static std::vector<VelocityEstimate> SquareEstimates(const TimeGrid& times, double distance, int step);
  // Recomputes the whole velocity grid; returns the number of velocities accepted.
  static int CalcVelocities(AnalysisState& state);

 private:
  static void PlaceArrow(const AnalysisState& state, VelocityCell& square, PixelPoint start, const Velocity& v);
  static PixelPoint ArrowStartOf(const AnalysisState& state, const VelocityEstimate& estimate);
};

inline int CalcVelocities(AnalysisState& state) { return VelocityCalculation::CalcVelocities(state); }

}  // namespace velmora
