#pragma once

#include <cstdint>
#include <vector>

namespace velmora {

struct AnalysisState;
struct Activation;

// How well the slow-wave marks of a store match a generated recording's truth.
struct MarkScore {
  int64_t activations = 0;  // true activations
  int64_t marks = 0;        // slow-wave marks on the grid's electrodes
  int64_t matched = 0;      // marks paired with an activation
  int64_t deadMarks = 0;    // marks on dead electrodes
  std::vector<int32_t> errors;  // mark time less activation time, ms, of each pair

  double Sensitivity() const;
  double PositivePredictiveValue() const;
  double MedianAbsoluteError() const;  // ms; NaN without a pair
  double MeanError() const;
  void Add(const MarkScore& other);
};

class SampleScore {
 public:
  // A mark and an activation of the same electrode pair up when they lie this close.
  static constexpr int32_t kToleranceMs = 100;

  // Pairs each activation, in time order, with the nearest mark of its electrode not yet paired
  // within the tolerance. Marks from `firstMark` on count, of electrodes on the grid (those
  // off it are no electrodes of the recording).
  static MarkScore Score(const AnalysisState& state, const std::vector<Activation>& truth,
                         const std::vector<int>& deadChannels, int firstMark = 1);
};

}  // namespace velmora
