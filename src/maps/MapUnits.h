#pragma once

#include <cstdint>
#include <string>

namespace velmora {

// The units the values of each map kind are in, for the legend and the statistics.
class MapUnits {
 public:
  static constexpr const char* kVelocity = "cm/s";

  // Empty for the electrode map: channel numbers have no unit.
  static std::string ValueUnit(uint8_t mapKind);
};

}  // namespace velmora
