#include "maps/StatisticsText.h"

#include <algorithm>
#include <cmath>
#include <string>

#include <fmt/format.h>

namespace velmora {

std::string GroupedFixed(double value, int decimals, int significant) {
  if (!std::isfinite(value)) return fmt::format("{}", value);
  const double rounded = std::stod(fmt::format("{:.{}g}", value, significant));
  const std::string plain = fmt::format("{:.{}f}", std::fabs(rounded), decimals);
  const size_t point = std::min(plain.find('.'), plain.size());
  std::string grouped;
  for (size_t i = 0; i < point; ++i) {
    if (i > 0 && (point - i) % 3 == 0) grouped += ',';
    grouped += plain[i];
  }
  grouped += plain.substr(point);
  const bool negative = rounded < 0 && grouped.find_first_not_of("0.,") != std::string::npos;
  return (negative ? "-" : "") + grouped;
}

}  // namespace velmora
