#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace velmora {

// Reads the plain decimals text recordings are made of ("-0.000123", "17.5", "42") much faster
// than a general parser, giving the same double: the digits form a whole number of at most
// 2^53 and the point divides it by a power of ten of at most 10^22, both exact in a double,
// so their quotient is the correctly rounded value of the text.
class DecimalNumber {
 public:
  struct Plain {
    double value = 0;
    size_t length = 0;  // characters read
  };

  // The plain decimal [+-]digits[.digits] that `text` begins with, read up to the first
  // character that cannot continue it; nothing when it does not begin with one within those
  // bounds (".5", "5.", more than 19 digits), which a general parser must then decide. The
  // caller decides whether the character after it may end a number ("1.5e3" gives 1.5).
  static std::optional<Plain> ParsePrefix(std::string_view text);
};

}  // namespace velmora
