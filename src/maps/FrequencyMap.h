#pragma once

#include <cstdint>
#include <vector>

#include "core/MapCell.h"

namespace velmora {

struct AnalysisState;

// Cycles per minute per electrode: 60,000 over the mean interval between successive marks of
// the pane's mark kind in the map window. With "limit intervals?" on, intervals above the
// Maximal Interval Value are left out (a missed cycle is not half a frequency). An electrode
// with fewer than two marks there, or no interval left, has no value.
class FrequencyMap {
 public:
  static void Fill(AnalysisState& state);
  // The frequency of marks at `times` (ms, any order); a negative number when there is none.
  static double CyclesPerMinute(std::vector<int32_t> times, bool limitIntervals, int32_t maxInterval);
};

}  // namespace velmora
