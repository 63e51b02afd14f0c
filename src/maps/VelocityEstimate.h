#pragma once

#include <cmath>

namespace velmora {

// How conduction velocities are estimated from the activation times of a map.
enum class VelocityMethodKind {
  Squares = 0,   // finite differences over each square of four electrodes
  Smoothed = 1,  // the same after a small smoothing of the times
  Fit = 2,       // gradient of a surface fitted around each electrode
};

// The motion of the front at one place.
struct Velocity {
  double vx = 0, vy = 0;  // mm/ms along columns and rows
  double speed = 0;       // cm/s
};

// One velocity a method measured: the velocity-grid slot it goes into and where on the grid
// it was measured (in cells: column 1's centre is x = 1), so that it can be compared with
// the front that made the times.
struct VelocityEstimate {
  int column = 0, row = 0;
  double x = 0, y = 0;
  Velocity velocity;
};

// The velocity of a time gradient (gx, gy in ms per mm): the front moves along the gradient,
// one mm per |gradient| ms. False for a flat gradient, which has no direction.
inline bool VelocityFromGradient(double gx, double gy, Velocity& v) {
  const double g2 = gx * gx + gy * gy;
  if (g2 == 0) return false;
  v.vx = gx / g2;
  v.vy = gy / g2;
  v.speed = 100.0 * std::sqrt(v.vx * v.vx + v.vy * v.vy);
  return true;
}

}  // namespace velmora
