#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velmora {

struct AnalysisState;

// What an automatic marking did, told to the user when it ends: how many marks it made, and
// which electrodes look dead (no slow wave stands out of their noise, as the electrode quality
// judges) with how many of the new marks are theirs, so that they can be taken away at once.
struct MarkingReport {
  int32_t firstMark = 0, lastMark = 0;  // the slots the run filled
  std::vector<int32_t> deadElectrodes;   // electrodes on the grid judged dead, ascending
  int32_t marksOnDead = 0;               // of the run's marks

  // After a run that found the store holding `countBefore` marks. Measures the electrode
  // quality when the run did not (the threshold method).
  static MarkingReport After(AnalysisState& state, int32_t countBefore);

  int32_t Added() const { return lastMark - firstMark + 1; }
  // "Automatic marking made 761 marks. Electrodes 74, 175 and 185 look dead (no slow wave
  // stands out of their noise); 50 of the new marks are theirs."
  std::string Text() const;
  // Deletes the run's marks on the dead electrodes (no deleted-marks list entries: they are
  // one step to undo). Returns how many it deleted.
  int32_t RemoveDeadMarks(AnalysisState& state) const;
};

}  // namespace velmora
