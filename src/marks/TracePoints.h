#pragma once

#include <algorithm>
#include <cstdint>

#include "core/Canvas.h"

namespace velmora {

// The points of an electrogram trace: the drawing's inner loop, a few hundred thousand points
// for a full pane of a long window.
class TracePoints {
 public:
  // How far off a coordinate may lie: an absurd amplification must not overflow an int.
  static constexpr double kFarOff = 1.0e9;
  // Adding and taking away 1.5 x 2^52 rounds a double to a whole number, halves to even.
  static constexpr double kRoundingMagic = 0x1.8p52;

  // A pixel coordinate, rounded halves to even and kept within +-kFarOff. Rounding before the
  // clamp gives the same as clamping first, since the bounds are whole numbers.
  static int PixelRound(double x) {
    const double rounded = (x + kRoundingMagic) - kRoundingMagic;
    return int(std::min(std::max(rounded, -kFarOff), kFarOff));
  }

  // points[j] = {xs[j], yc - PixelRound((values[j] - offset) * amplification)} for j < count.
  // Where the processor has vector instructions several points are worked out at a time, with
  // exactly the same arithmetic, so every processor gives the same points.
  static void Place(const int32_t* values, const int* xs, int count, double offset, double amplification, int yc,
                    Point* points);

  // The ways Place can work: one point at a time, or 2 or 4 doubles a vector instruction.
  // Place takes the widest this processor has; the tests hold each against the others.
  enum class Method { OneByOne, By2, By4 };
  static bool Available(Method method);
  // Place with `method`, or one by one where the processor does not have it.
  static void PlaceWith(Method method, const int32_t* values, const int* xs, int count, double offset,
                        double amplification, int yc, Point* points);
};

}  // namespace velmora
