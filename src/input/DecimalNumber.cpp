#include "input/DecimalNumber.h"

#include <array>
#include <cstdint>

namespace velmora {

namespace {

constexpr uint64_t kLargestExactWhole = uint64_t(1) << 53;
constexpr size_t kMostDigits = 19;  // a whole number of 19 digits still fits 64 bits
constexpr std::array<double, 23> kPowersOfTen = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                                 1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                                 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

bool IsDigit(char c) { return unsigned(c - '0') < 10u; }

// Appends the digits from `at` to `whole`; returns where they end.
size_t ReadDigits(std::string_view text, size_t at, uint64_t& whole) {
  for (; at < text.size() && IsDigit(text[at]); ++at) whole = whole * 10 + uint64_t(text[at] - '0');
  return at;
}

}  // namespace

std::optional<DecimalNumber::Plain> DecimalNumber::ParsePrefix(std::string_view text) {
  size_t at = 0;
  const bool negative = !text.empty() && text[0] == '-';
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) ++at;
  uint64_t whole = 0;
  const size_t integerStart = at;
  at = ReadDigits(text, at, whole);
  const size_t integerDigits = at - integerStart;
  size_t decimals = 0;
  if (at < text.size() && text[at] == '.') {
    const size_t fractionStart = at + 1;
    at = ReadDigits(text, fractionStart, whole);
    decimals = at - fractionStart;
    if (decimals == 0) return std::nullopt;
  }
  // Beyond 19 digits the whole number may have wrapped; such texts go the general way.
  if (integerDigits == 0 || integerDigits + decimals > kMostDigits) return std::nullopt;
  if (whole > kLargestExactWhole || decimals >= kPowersOfTen.size()) return std::nullopt;
  const double value = double(whole) / kPowersOfTen[decimals];
  return Plain{negative ? -value : value, at};
}

}  // namespace velmora
