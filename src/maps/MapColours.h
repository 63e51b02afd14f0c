#pragma once

#include <cstdint>

#include "core/Canvas.h"

namespace velmora {

struct AnalysisState;

// The colour bands of a map: a value falls into a band of `IsochroneStep` ms, and the bands
// cycle through a fixed 13-colour palette every `IsochroneParam` steps.
class MapColours {
 public:
  static constexpr int kBandCount = 13;

  // The band of a cell value. Time maps start their bands at the multiple of the step at or
  // below the earliest time; other maps start at 0.
  static int ColourIndex(const AnalysisState& state, int32_t value);
  // The band of a value with the bands starting at `base` instead of the map's own start.
  static int ColourIndexFrom(const AnalysisState& state, int64_t value, int64_t base);

  // The colour of a band; grey for a band outside the palette.
  static Colour MapColour(int band);

  // The value the first band starts at: for time maps the multiple of the step at or below
  // the earliest time, for other maps 0.
  static int64_t BandBase(const AnalysisState& state);

  // The step the bands are cut at: a step below 1 counts as 1, so a zero step never divides
  // by zero.
  static int32_t BandStep(const AnalysisState& state);

  // The band of an electrode verdict on the quality map (ElectrodeQualityTable::Verdict as a
  // number): red for dead, yellow for weak, green for good.
  static int QualityBand(int32_t verdict);
};

}  // namespace velmora
