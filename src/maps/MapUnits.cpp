#include "maps/MapUnits.h"

#include "maps/FrequencyMap.h"

namespace velmora {

std::string MapUnits::ValueUnit(uint8_t mapKind) {
  switch (mapKind) {
    case 0: return "ms";     // activation times
    case 1: return "marks";  // counts
    case 3: return "ms";     // intervals
    case 4: return "mV";     // amplitudes: signal units over the recording's units per mV
    case 5: return "mV/s";   // slopes
    case 6: return kVelocity;
    case kFrequencyMapKind: return "cpm";
    case 7: return "";       // quality: noise deviations
    default: return "";
  }
}

}  // namespace velmora
