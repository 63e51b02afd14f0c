#pragma once

#include <cstdint>
#include <optional>

#include "core/Canvas.h"

namespace velmora {

struct AnalysisState;

// A vertical line across the traces at one time: where a film being played has got to.
class TimeCursor {
 public:
  static constexpr Colour kColour = 0xFF8800;  // orange: apart from the green time grid and the mark colours

  // The pixel column of `time` (ms) in the electrogram layout last made, or nothing when the
  // time lies outside the traces.
  static std::optional<int> X(const AnalysisState& state, int32_t time);
  static void Draw(const AnalysisState& state, Canvas& canvas, int32_t time);
};

}  // namespace velmora
