#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

#include "core/Limits.h"

namespace velmora {

// Rounds to the nearest integer, halves to the even neighbour (the rounding every
// computation of the workbench uses).
// Adding and taking away 1.5 x 2^52 leaves a double with no fraction, rounded to nearest,
// ties to even (the default rounding mode); it is exact below 2^51 and much faster than a
// call to nearbyint in the drawing loops. Needs strict IEEE arithmetic (no -ffast-math).
inline int64_t RoundHalfEven(double x) {
  constexpr double kMagic = 0x1.8p52;
  if (std::fabs(x) < 0x1.0p51) return int64_t((x + kMagic) - kMagic);
  return int64_t(std::nearbyint(x));
}

// The mean of `count` integers whose sum is `sum`, rounded halves to even, in integers only.
inline int32_t RoundedMean(int64_t sum, int64_t count) {
  int64_t quotient = sum / count;
  int64_t remainder = sum % count;
  if (remainder < 0) {
    remainder += count;
    quotient -= 1;
  }
  const int64_t twice = 2 * remainder;
  if (twice > count || (twice == count && (quotient & 1) != 0)) quotient += 1;
  return int32_t(quotient);
}

// The time from `from` to `to` in ms. A mark file may hold any 32-bit time, so the difference
// of two can need 33 bits; times that far apart (more than 24 days, longer than any recording)
// have no interval and no time after each other, and give NoValue. Callers ask only
// for differences that cannot be negative, so NoValue is never a real result.
inline int32_t TimeBetween(int32_t from, int32_t to) {
  const int64_t apart = int64_t(to) - from;
  const bool fits = apart >= std::numeric_limits<int32_t>::min() && apart <= std::numeric_limits<int32_t>::max();
  return fits ? int32_t(apart) : kNoValue;
}

}  // namespace velmora
