#include "marks/MarkSaving.h"

#include "core/AnalysisState.h"
#include "core/Errors.h"
#include "core/Ui.h"
#include "maps/ConnectionFile.h"
#include "marks/MarkFile.h"

namespace velmora {

namespace {

bool TryWriteMarkFile(AnalysisState& s, Ui& ui) {
  try {
    WriteMarkFile(s, ui);
    return true;
  } catch (const IoError& error) {
    ui.Beep();
    ui.Error(std::string(error.what()) + "\nThe marks have not been saved.");
    return false;
  }
}

bool TryWriteConnections(AnalysisState& s, Ui& ui) {
  try {
    ConnectionFile::SaveConnections(s);
    return true;
  } catch (const IoError& error) {
    ui.Beep();
    ui.Error(std::string(error.what()) + "\nThe connections have not been saved.");
    return false;
  }
}

}  // namespace

bool MarkSaving::SaveMarks(AnalysisState& s, Ui& ui) {
  for (int i = 0; i < 20; ++i) ui.Beep();
  if (s.MarksChanged && !s.MarkFileName.empty()) {
    if (!TryWriteMarkFile(s, ui)) return false;
    ui.Message("Marks have been saved ");
  }
  if (s.ConnectionsChanged) {
    if (!TryWriteConnections(s, ui)) return false;
    ui.Message("Connections have been saved ");
  }
  s.MarksChanged = false;
  s.ConnectionsChanged = false;
  return true;
}

// Connections made since the last save are asked about like changed marks: leaving the
// recording or the program would lose them without a word otherwise.
bool MarkSaving::SaveAlert(AnalysisState& s, Ui& ui) {
  const bool marksToSave = s.MarksChanged && !s.MarkFileName.empty();
  if (!marksToSave && !s.ConnectionsChanged) return true;
  ui.Beep();
  switch (ui.AskYesNoCancel("Some of the marks have been changed? Do you want to update these marks ?")) {
    case Ui::Answer::Yes:
      if (marksToSave && !TryWriteMarkFile(s, ui)) return false;
      return !s.ConnectionsChanged || TryWriteConnections(s, ui);
    case Ui::Answer::No:
      return true;
    case Ui::Answer::Cancel:
      return false;
  }
  return false;
}

}  // namespace velmora
