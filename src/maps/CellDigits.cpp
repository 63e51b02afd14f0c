#include "maps/CellDigits.h"

#include <fmt/format.h>

#include <algorithm>
#include <cmath>

#include "core/Arithmetic.h"

namespace velmora {

namespace {

constexpr int kSignificantDigits = 7;

// Decimals of a digit format, or -1 for the plain integer format.
int Decimals(int digitType) {
  switch (digitType) {
    case 1: return 3;
    case 2: return 2;
    case 3: return 1;
    case 4: return 0;
    default: return -1;
  }
}

}  // namespace

std::string CellDigits::FixedText(double value, int decimals) {
  if (!std::isfinite(value)) return fmt::format("{}", value);
  const double magnitude = std::fabs(value);
  const int intDigits = magnitude < 1 ? 1 : int(std::floor(std::log10(magnitude))) + 1;
  if (intDigits > kSignificantDigits) return fmt::format("{:.{}E}", value, kSignificantDigits - 1);
  // Digits beyond the seventh significant one are shown as zeros.
  const int shown = std::min(decimals, kSignificantDigits - intDigits);
  std::string text = fmt::format("{:.{}f}", value, shown);
  if (shown < decimals) {
    if (shown == 0) text += '.';
    text.append(size_t(decimals - shown), '0');
  }
  return text;
}

std::string CellDigits::IntegerText(int32_t value, int digitType) {
  const int decimals = Decimals(digitType);
  if (decimals < 0) return fmt::format("{}", value);
  // Seconds are formed in single precision, so 1.235 s shows as its float neighbour does.
  const float seconds = float(value) / 1000.0f;
  return FixedText(double(seconds), decimals);
}

std::string CellDigits::RealText(double value, int digitType) {
  const int decimals = Decimals(digitType);
  if (decimals < 0) {
    if (!std::isfinite(value)) return fmt::format("{}", value);
    return fmt::format("{}", RoundHalfEven(value));
  }
  return FixedText(value, decimals);
}

}  // namespace velmora
