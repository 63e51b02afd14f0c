#pragma once

#include <cmath>
#include <cstdint>

namespace velmora {

// Rounds to the nearest integer, halves to the even neighbour (the rounding every
// computation of the workbench uses).
inline int64_t RoundHalfEven(double x) {
  const double r = std::nearbyint(x);  // the default rounding mode is to nearest, ties to even
  return int64_t(r);
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

}  // namespace velmora
