#pragma once

namespace velmora {

struct AnalysisState;
class Ui;

// Saving marks on request and before the program or the recording is left.
class MarkSaving {
 public:
  // "Save Marks+Connections": writes what changed and says so. Returns false when a write
  // failed (the failure has been reported and the flags stay set).
  static bool SaveMarks(AnalysisState& state, Ui& ui);
  // Asks whether changed marks (or connections) are to be saved. Returns true when the caller may go on
  // (saved, or the user chose not to), false when the user cancelled or the save failed.
  static bool SaveAlert(AnalysisState& state, Ui& ui);
};

}  // namespace velmora
