#pragma once

#include <string>
#include <vector>

#include "core/Canvas.h"
#include "output/PlotFrame.h"
#include "results/PropagationPattern.h"

namespace velmora {

class WaveTable;
struct WaveRow;

// The pictures of a recording's waves, drawn alike in the window and in the report.
class ResultPlots {
 public:
  enum class Kind { PatternTimeline, FrequencyOverTime, SpeedOverTime, SpeedHistogram, FrequencyHistogram, DirectionRose };
  static constexpr Kind kAll[] = {Kind::PatternTimeline,    Kind::FrequencyOverTime, Kind::SpeedOverTime,
                                  Kind::SpeedHistogram,     Kind::FrequencyHistogram, Kind::DirectionRose};
  static constexpr int kHistogramBins = 12;
  static constexpr int kRoseSectors = 12;

  static std::string Title(Kind kind);
  static void Draw(Canvas& canvas, Kind kind, const PlotArea& area, const WaveTable& table);
  // The activation map of one wave, coloured from its first (red) to its last activation
  // (blue), its origins dotted, its number and pattern below.
  static void DrawWaveThumbnail(Canvas& canvas, const PlotArea& area, const WaveTable& table, const WaveRow& row);
  static Colour PatternColour(Pattern pattern);
  // Red through yellow and green to blue as `share` runs from 0 to 1.
  static Colour TimeColour(double share);

  // Counts of `values` in `bins` equal bins from `low` to `high` (values outside go to the
  // end bins).
  static std::vector<int> Histogram(const std::vector<double>& values, double low, double high, int bins);
};

}  // namespace velmora
