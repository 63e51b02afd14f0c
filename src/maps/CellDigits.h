#pragma once

#include <cstdint>
#include <string>

namespace velmora {

// The text a map cell shows for its value.
class CellDigits {
 public:
  // Digit formats: 1, 2, 3 and 4 show seconds with 3, 2, 1 and 0 decimals; anything else
  // shows whole milliseconds (or, for a real value, the rounded value).
  // An integer value is a time in ms, shown in the format `digitType`.
  static std::string IntegerText(int32_t value, int digitType);
  // A real value (amplitude, slope, velocity), shown in the format `digitType`.
  static std::string RealText(double value, int digitType);
  // Fixed-point text with `decimals` decimals and at most 7 significant digits; values too
  // large for 7 digits before the point are written in exponent form.
  static std::string FixedText(double value, int decimals);
};

}  // namespace velmora
