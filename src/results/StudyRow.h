#pragma once

#include <array>
#include <optional>
#include <string>

#include "results/PropagationPattern.h"

namespace velmora {

struct AnalysisState;
class WaveTable;

// One recording of a study: what it is and what its waves were, or why it could not be
// analysed (`error`, with the rest empty).
struct StudyRow {
  static constexpr int kPatterns = PropagationPattern::kPatterns;

  std::string file;  // the recording as it was named
  std::optional<double> durationS;
  std::optional<int> electrodes, deadElectrodes, waves;
  std::optional<double> frequencyMeanCpm, frequencySdCpm;
  std::optional<double> speedMeanMmS, speedSdMmS;
  std::optional<double> directionMeanDeg;
  std::array<int, kPatterns> patternCounts{};
  std::string error;

  // The facts of the recording loaded and the summary of its table. Dead electrodes are the
  // grid's electrodes the electrode quality judges dead (measured when the marking did not).
  // Means and SDs (divisor n - 1) are over the waves' frequencies and mean speeds; the
  // direction is their circular mean.
  static StudyRow Of(const std::string& file, AnalysisState& state, const WaveTable& table);
  static StudyRow Failed(const std::string& file, const std::string& error);
};

}  // namespace velmora
