#pragma once

#include <cstdint>

#include "core/AnalysisState.h"

namespace velmora::testing {

// Appends a mark to the store directly, deleted ones (kind and time NoValue) included.
inline void AppendMark(AnalysisState& state, int electrode, int kind, int time) {
  MarkRecord& mark = state.Mark(++state.MarkCount);
  mark = MarkRecord{};
  mark.Electrode = uint16_t(electrode);
  mark.Kind = int16_t(kind);
  mark.Time = time;
}

}  // namespace velmora::testing
