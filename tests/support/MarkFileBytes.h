#pragma once

#include <string>
#include <vector>

#include "core/MarkRecord.h"

namespace velmora::testing {

// The bytes of a mark file holding `marks`: a 4096-byte header and 16-byte records, as the
// workbench writes them.
std::string MarkFileBytes(const std::vector<MarkRecord>& marks);

// A mark set by hand.
inline MarkRecord HandMark(int electrode, int time, int16_t kind = kSlowWave) {
  MarkRecord mark;
  mark.Electrode = uint16_t(electrode);
  mark.Kind = kind;
  mark.Time = time;
  mark.Origin = kByHand;
  return mark;
}

}  // namespace velmora::testing
