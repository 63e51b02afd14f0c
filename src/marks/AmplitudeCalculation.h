#pragma once

#include <cstdint>
#include <vector>

#include "core/MarkRecord.h"

namespace velmora {

struct AnalysisState;
class Ui;

// Amplitude, steepest fall and interval of the slow-wave marks.
class AmplitudeCalculation {
 public:
  static constexpr int kHalfWindowMs = 500;  // the window reaches this far either side of a mark
  static constexpr int kSteepSpan = 24;      // samples over which the fall is measured

  // Fills MarkAmplitudes: Electrode = NoValue everywhere, then a record for every slow-wave
  // mark of an electrode (17..256) with 0 < time < SigLength, from the samples within
  // ±500 ms of the mark.
  static void CalcAmplitudes(AnalysisState& state);
  // The same with a progress panel every 1,024 marks that can be cancelled; returns false when
  // it was, and MarkAmplitudes is then as it was before.
  static bool CalcAmplitudes(AnalysisState& state, Ui& ui);

  // The record of one mark of `electrode` at `time` ms, with `interval` put in as given.
  static AmplitudeRecord Measure(const AnalysisState& state, int32_t electrode, int32_t time, int32_t interval);

 private:
  // Works the records out into `records` (a copy of MarkAmplitudes); false when `ui` was given
  // and its user cancelled.
  static bool Fill(const AnalysisState& state, std::vector<AmplitudeRecord>& records, Ui* ui);
};

// Free-function spelling, as the rest of the program calls it.
inline void CalcAmplitudes(AnalysisState& state) { AmplitudeCalculation::CalcAmplitudes(state); }

}  // namespace velmora
