#include "ui/DataPadWiring.h"

#include <optional>
#include <string>

#include <QLabel>
#include <QLineEdit>

#include <fmt/format.h>

#include "commands/ValuePrompt.h"
#include "core/AnalysisState.h"
#include "core/Ui.h"
#include "history/MarkEditNames.h"
#include "marks/AmplitudeCalculation.h"
#include "output/AmplitudeTable.h"
#include "output/DataPadCommands.h"
#include "ui/DataPadWindow.h"
#include "ui/MainMenu.h"
#include "ui/MarkUndoWiring.h"
#include "ui/StatisticsWindow.h"
#include "ui/StatusPanel.h"
#include "ui/TMainF.h"
#include "ui/WhichElectrodePanel.h"

namespace velmora {

namespace {

using ExportCommand = std::optional<std::string> (*)(const AnalysisState&, Ui&);

// The status line says where the file went: the fixed-name exports pick the folder themselves.
void ShowWritten(TMainF& w, const std::optional<std::string>& written) {
  if (written) w.Status()->NoteLabel()->setText(QString::fromStdString("Written: " + *written));
}

void RunExport(TMainF& w, ExportCommand command, bool redraw) {
  if (!w.State().FileLoaded) return;
  const std::optional<std::string> written = command(w.State(), w.ActiveUi());
  if (redraw) w.UpdateDisplay();
  ShowWritten(w, written);
}

// "Ok" of the electrode panel: electrodes 17 to 255 are written, any other keeps the panel up.
void SaveAllMarksOfTheElectrode(TMainF& w) {
  AnalysisState& s = w.State();
  const std::string text = w.WhichElectrode()->EditWhichEle()->text().trimmed().toStdString();
  const std::optional<int32_t> electrode = ValuePrompt::ParseInteger(text);
  if (!electrode) {
    w.ActiveUi().Error(fmt::format("'{}' is not a valid integer value", text));
    return;
  }
  s.WhichEle = *electrode;
  std::optional<std::string> written;
  if (*electrode > 16 && *electrode < 256) {
    w.WhichElectrode()->hide();
    written = DataPadCommands::SaveAllMarksinThisEle(s, w.ActiveUi(), *electrode);
  } else {
    w.ActiveUi().Beep();
  }
  w.UpdateDisplay();
  ShowWritten(w, written);
}

void CalculateAmplitudesSlopes(TMainF& w) {
  AnalysisState& s = w.State();
  if (!AmplitudeCalculation::CalcAmplitudes(s, w.ActiveUi())) return;
  s.AmplitudesValid = true;
  w.ActiveUi().Beep();
  AmplitudeTable::Write(s, w.DataPad().Model());
  w.DataPad().ShowCells();
  w.Statistics().Show();
  w.UpdateDisplay();
}

}  // namespace

void DataPadWiring::Wire(TMainF& w) {
  MainMenu& m = w.Menu();
  const struct {
    const char* item;
    ExportCommand command;
    bool redraw;
  } exports[] = {
      {"SaveEletotxt1", &DataPadCommands::SaveElectrogramsToText, false},
      {"SaveMarkstotxt1", &DataPadCommands::SaveMarksToText, true},
      {"savemarkstoanimation1", &DataPadCommands::SaveMarksToAnimationFile, true},
      {"savesingleelemarks1", &DataPadCommands::SaveSingleEleMarks, true},
      {"savedatainmatrixtextfile1", &DataPadCommands::SaveDataInMatrixFormat, true},
      {"SaveTolvarFile1", &DataPadCommands::SaveBrenholtTolvar, false},
  };
  for (const auto& entry : exports)
    m.Connect(entry.item, [&w, command = entry.command, redraw = entry.redraw] { RunExport(w, command, redraw); });
  m.Connect("saveallmarksinoneele1", [&w] {
    if (w.State().FileLoaded) w.WhichElectrode()->ShowPanel();
  });
  m.Connect("Readmarksfromtxt1", [&w] {
    if (!DataPadCommands::ReadMarksFromTextFile(w.State(), w.ActiveUi())) return;
    MarkUndoWiring::CommandEnded(w, MarkEditNames::kMarksImport);
    w.UpdateDisplay();
  });
  m.Connect("showDatapad1", [&w] { w.DataPad().ShowDatapad(w.State().ElgFileName); });
  m.Connect("CalculateAmplitudesSlopes1", [&w] { CalculateAmplitudesSlopes(w); });
}

void DataPadWiring::WireWindows(TMainF& w) {
  QObject::connect(&w.DataPad(), &DataPadWindow::okClicked, &w, [&w] { w.UpdateDisplay(); });
  QObject::connect(w.WhichElectrode(), &WhichElectrodePanel::okClicked, &w, [&w] { SaveAllMarksOfTheElectrode(w); });
  QObject::connect(w.WhichElectrode(), &WhichElectrodePanel::cancelClicked, &w, [&w] {
    w.WhichElectrode()->hide();
    w.UpdateDisplay();
  });
}

}  // namespace velmora
