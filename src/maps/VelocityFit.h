#pragma once

#include <optional>
#include <vector>

#include "maps/TimeGrid.h"
#include "maps/VelocityEstimate.h"

namespace velmora {

struct AnalysisState;

// Velocities from a weighted least-squares surface through the activation times around each
// electrode: a plane t = a + gx x + gy y, or with `quadratic` a second-order surface whose
// gradient at the electrode is (gx, gy). Fitting many electrodes at once averages out the
// timing noise of single marks, and the curved surface follows curved fronts.
//
// An electrode gets a velocity only when it has a time itself, when its neighbourhood (the
// electrodes within `radius` spacings) holds at least kSpareTimes more times than the surface
// has coefficients, and when the surface fits: the times lie within kMostResidualShare of
// the time the front needs to cross one spacing (root mean square). Five per cent lets the
// timing noise of marking through (about 25 ms at 8 mm/s and 4 mm) but not a collision of
// two fronts or the tip of a spreading front, where no smooth surface describes the times and
// a velocity would point nowhere in particular. A neighbourhood that fails is tried again
// without its farthest time, up to kMostDropped times: one false mark (a dead electrode
// marked on noise) should not take the arrows of all its neighbours with it.
class VelocityFit {
 public:
  struct Settings {
    int radius = 2;  // in electrode spacings
    bool quadratic = true;
    double spacingMm = 1;
  };
  // Beyond ten spacings a neighbourhood no longer describes the front at its electrode.
  static constexpr int kMostRadius = 10;
  static constexpr int kSpareTimes = 3;
  static constexpr double kMostResidualShare = 0.05;
  static constexpr double kWeightSpread = 1.0;  // spacings
  static constexpr int kMostDropped = 2;

  static Settings SettingsOf(const AnalysisState& state);
  // The times an electrode's neighbourhood needs before it is fitted.
  static int RequiredTimes(bool quadratic);

  static std::optional<Velocity> VelocityAt(const TimeGrid& times, int col, int row, const Settings& settings);
  // One estimate per electrode that gets a velocity, placed at the electrode.
  static std::vector<VelocityEstimate> Estimates(const TimeGrid& times, const Settings& settings);
};

}  // namespace velmora
