#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "results/PropagationPattern.h"

namespace velmora {

struct AnalysisState;
class WaveSearch;

// One wave of the recording as a study reports it. Times are after the reference; a value
// that does not exist for the wave is empty.
struct WaveRow {
  int wave = 0;  // the wave's number in the wave maps
  int32_t startMs = 0;  // earliest activation
  int sites = 0;
  double areaMm2 = 0;
  std::vector<int> origin;  // electrodes
  int32_t durationMs = 0;   // last minus first activation
  std::optional<double> speedMmS, speedSdMmS;
  std::optional<double> directionDeg;  // circular mean, the arrows' convention
  std::optional<double> amplitudeUv;
  std::optional<double> intervalS, frequencyCpm;  // to the wave before in the table
  Pattern pattern = Pattern::Other;
};

// One activation of a wave in the table.
struct WaveMarkRow {
  int wave = 0, electrode = 0, col = 0, row = 0;
  int32_t timeMs = 0;
  std::optional<double> speedMmS, directionDeg, amplitudeUv;
};

struct WaveTableSettings {
  int minSites = 1;      // smaller waves are left out of the table
  double normalDeg = 0;  // the direction a healthy wave travels across the array
};

// The per-wave table of the waves found: what the summary CSV, the report, the window's
// table and the study rows read.
//
// Speeds come from the velocity method in use over each wave's own times; speeds above
// MaxCondVel (cm/s) are outliers and left out, whether or not the maps limit theirs. The
// speed SD divides by n - 1. The direction is the circular mean of the velocities'
// directions. Amplitudes are the mean of the marks' amplitude records (peak to trough), when
// they have been computed. The interval to the wave before is the median, over the
// electrodes both waves share, of the time between their two activations (the difference of
// the start times when they share none); the frequency is 60 over it.
class WaveTable {
 public:
  static WaveTable Build(const AnalysisState& state, const WaveSearch& search, const WaveTableSettings& settings);

  const std::vector<WaveRow>& Rows() const { return rows_; }
  // Wave by wave in table order, electrodes ascending within a wave.
  const std::vector<WaveMarkRow>& Marks() const { return marks_; }
  const WaveRow* Row(int wave) const;
  int Cols() const { return cols_; }
  int RowsOfGrid() const { return gridRows_; }
  double ElectrodeDistance() const { return distance_; }

 private:
  std::vector<WaveRow> rows_;
  std::vector<WaveMarkRow> marks_;
  int cols_ = 0, gridRows_ = 0;
  double distance_ = 0;
};

}  // namespace velmora
