#include "ui/MenuWiring.h"

#include <QAction>

#include "commands/DisplaySwitches.h"
#include "commands/ValuePrompt.h"
#include "commands/ViewCommands.h"
#include "maps/MapMenuCommands.h"
#include "core/AnalysisState.h"
#include "core/Errors.h"
#include "core/Ui.h"
#include "input/NISmoothing.h"
#include "marks/MarkFile.h"
#include "ui/ConnectionWiring.h"
#include "ui/ExportWiring.h"
#include "ui/DataPadWiring.h"
#include "marks/ReferenceTable.h"
#include "ui/AnalyseElgWindow.h"
#include "ui/FloatingPanels.h"
#include "ui/MainMenu.h"
#include "ui/MarkUndoWiring.h"
#include "ui/MiniWindows.h"
#include "ui/PanePanel.h"
#include "ui/ReferenceTableWindow.h"
#include "ui/TImportF.h"
#include "ui/PreferencesWiring.h"
#include "ui/ResultsWiring.h"
#include "ui/PictureWiring.h"
#include "ui/PrintWiring.h"
#include "ui/TMainF.h"
#include "ui/TitleBar.h"
#include "ui/WaveMenuWiring.h"

namespace velmora {

void MenuWiring::Wire(TMainF& window) {
  WireFile(window);
  WireGeneral(window);
  WireDisplays(window);
  WireElectrograms(window);
  WireSwitches(window);
  WireMaps(window);
  ConnectionWiring::Wire(window);
  MarkUndoWiring::Wire(window);
  WireTitleBar(window, 1);
  WireTitleBar(window, 2);
  WirePanels(window);
  WireMiniWindows(window);
  WaveMenuWiring::Wire(window);
  ResultsWiring::Wire(window);
  PreferencesWiring::Wire(window);
  ExportWiring::Wire(window);
  PrintWiring::Wire(window);
  PictureWiring::Wire(window);
  DataPadWiring::Wire(window);
}

void MenuWiring::WireFile(TMainF& w) {
  MainMenu& m = w.Menu();
  m.Connect("OpenFile1", [&w] { w.OpenFile1Click(); });
  m.Connect("SaveMarks1", [&w] { w.SaveMarks1Click(); });
  m.Connect("ReadEleTextFile1", [&w] { w.ImportF().ReadEleTextFile1Click(); });
  m.Connect("Quit1", [&w] { w.Quit1Click(); });
  for (int item = 1; item <= 10; ++item)
    m.Connect(QString("ShowPrevFile%1").arg(item), [&w, item] { w.ShowPrevFileClick(item); });
  m.Connect("About1", [&w] { w.Panels().ShowAbout(); });
  m.Connect("frequentcommands1", [&w] { w.Panels().ShowHelp(); });
}

void MenuWiring::WireGeneral(TMainF& w) {
  MainMenu& m = w.Menu();
  ViewCommands& v = w.View();
  m.Connect("UpdateDisplays1", [&w] { w.UpdateDisplay(); });
  m.Connect("UnhideMarks1", [&w] { w.UnhideMarks1Click(); });
  m.Connect("ReferenceTable1", [&w] { w.References().ReferenceTable1Click(); });
  m.Connect("AnalyseElg1", [&w] { w.AnalyseElg().AnalyseElg1Click(); });
  m.Connect("ReferenceTime1", [&w] {
    ReferenceTable::ReferenceTime1Click(w.State(), w.ActiveUi());
    w.UpdateDisplay();
  });
  m.Connect("smoothingonlyNIfiles1", [&w] {
    NISmoothing::Smooth(w.State(), w.ActiveUi());
    w.UpdateDisplay();
  });
  m.Connect("PanelTileMenu", [&w] { w.SetPanelTile(); });
  m.Connect("rectangle1", [&w] { w.SetTileStacked(true); });
  m.Connect("square1", [&w] { w.SetTileStacked(false); });
  m.Connect("BeginTime3", [&w, &v] { w.Apply(v.BeginTimeAll()); });
  m.Connect("Window3", [&w, &v] { w.Apply(v.WindowTimeAll()); });
  m.Connect("next1", [&w, &v] { w.Apply(v.Next()); });
  m.Connect("Previous1", [&w, &v] { w.Apply(v.Previous()); });
  m.Connect("StepIncrement1", [&w, &v] { w.Apply(v.StepIncrementPrompt()); });
  m.Connect("FileInfo1", [&w] { w.FileInfo1Click(); });
  m.Connect("SamplingFrequency1", [&w, &v] {
    const Redraw redraw = v.SamplingFrequency();
    w.Menu().Action("SamplingFrequency1")->setText(
        QString::fromStdString(ViewCommands::SamplingFrequencyCaption(w.State().SamplingF)));
    w.Apply(redraw);
  });
  m.Connect("ChangeMatrixfile1", [&w] { w.ChangeMatrix(false); });
  m.Connect("ChangeNewmatrixfile1", [&w] { w.ChangeMatrix(true); });
  m.Connect("showmarkstatistics1", [&w] { w.showmarkstatistics1Click(); });
  m.Connect("SlowWave1", [&w] { w.SetMarkType(0, 1); });
  m.Connect("Spike1", [&w] { w.SetMarkType(0, 2); });
  m.Connect("TypeMark31", [&w] { w.SetMarkType(0, 3); });
}

void MenuWiring::WireDisplays(TMainF& w) {
  MainMenu& m = w.Menu();
  ViewCommands& v = w.View();
  m.Connect("TimeMap1", [&w] { w.SetMapKind(1, 0, true); });
  const std::pair<const char*, int> mapItemsA[] = {{"IntervalMap1", 3}, {"Matrix1", 2},   {"CountMap1", 1},
                                                   {"Amplitude1", 4},   {"Slope1", 5},    {"Velocities1", 6},
                                                   {"Frequency1", kFrequencyMapKind}, {"Quality1", kQualityMap}};
  for (const auto& [name, kind] : mapItemsA) m.Connect(name, [&w, kind = kind] { w.SetMapKind(1, kind, false); });
  const std::pair<const char*, int> mapItemsB[] = {{"TimeMap2", 0},  {"IntervalMap2", 3}, {"Matrix2", 2},
                                                   {"CountMap2", 1}, {"Amplitude2", 4},   {"Slope2", 5},
                                                   {"Frequency2", kFrequencyMapKind}, {"Quality2", kQualityMap}};
  for (const auto& [name, kind] : mapItemsB) m.Connect(name, [&w, kind = kind] { w.SetMapKind(2, kind, false); });
  m.Connect("Electrograms2", [&w] { w.ShowElectrograms(1); });
  m.Connect("Electrograms3", [&w] { w.ShowElectrograms(2); });
  m.Connect("Analyse1", [&w] { w.ShowAnalyse(); });
  m.Connect("BeginTime1", [&w, &v] { w.Apply(v.BeginTime(1, false)); });
  m.Connect("Window1", [&w, &v] { w.Apply(v.WindowTime(1)); });
  m.Connect("BeginTime2", [&w, &v] { w.Apply(v.BeginTime(2, false)); });
  m.Connect("Window2", [&w, &v] { w.Apply(v.WindowTime(2)); });
  const char* typeItemsA[] = {"markTypea1", "MarkTypea2", "MarkTypea3"};
  const char* typeItemsB[] = {"MarkTypeb1", "MarkTypeb2", "MarkTypeb3"};
  for (int type = 1; type <= 3; ++type) {
    m.Connect(typeItemsA[type - 1], [&w, type] { w.SetMarkType(1, type); });
    m.Connect(typeItemsB[type - 1], [&w, type] { w.SetMarkType(2, type); });
  }
}

void MenuWiring::WireElectrograms(TMainF& w) {
  MainMenu& m = w.Menu();
  ViewCommands& v = w.View();
  m.Connect("UndoDeletedMarks1", [&w] { w.UndoDeletedMarks1Click(); });
  m.Connect("amplification1", [&w, &v] { w.Apply(v.AmplificationPrompt()); });
  m.Connect("numberTraces1", [&w, &v] { w.Apply(v.NumberChannels()); });
  m.Connect("GoToChannel1", [&w, &v] { w.Apply(v.GotoChannel()); });
  m.Connect("Interpolate1", [] {});
  m.Connect("Zoom1", [&w] { w.Zoom(true); });
  m.Connect("AutomaticSWmarking1", [&w] { w.AutomaticSWmarking1Click(); });
  m.Connect("SpikeStats1", [&w] { w.SpikeStats1Click(); });
  m.Connect("Zoom2", [&w] { w.Zoom(false); });
  m.Connect("CheckPlotOnlyDots", [&w] {
    w.State().PlotOnlyDots = !w.State().PlotOnlyDots;
    w.UpdateDisplay();
  });
  m.Connect("ShowAmplitudes1", [&w] {
    w.State().ShowAmplitudes = !w.State().ShowAmplitudes;
    w.UpdateDisplay();
  });
}

void MenuWiring::WireMaps(TMainF& w) {
  MainMenu& m = w.Menu();
  m.Connect("ExpandMap1", [&w] {
    if (MapMenuCommands::ToggleExpandMap(w.State())) w.UpdateDisplay();
  });
  m.Connect("removeExpand1", [&w] {
    if (MapMenuCommands::RemoveExpand(w.State(), w.ActiveUi())) w.UpdateDisplay();
  });
  m.Connect("showSWsspikes1", [&w] {
    if (MapMenuCommands::ToggleSWsSpikes(w.State())) w.UpdateDisplay();
  });
  m.Connect("ShowMapStatistics1", [&w] { w.ShowMapStatistics1Click(); });
  m.Connect("Isochrones1", [&w] {
    const auto answer = ValuePrompt::AskInteger(w.ActiveUi(), "Change isochones", "Give new isochrone value:",
                                                w.State().IsochroneStep, 0);
    if (!answer.HasValue()) return;
    w.State().IsochroneStep = answer.value;
    w.UpdateDisplay();
  });
}

void MenuWiring::WireSwitches(TMainF& w) {
  for (const DisplaySwitches::Entry& entry : DisplaySwitches::All()) {
    const QString item = QString::fromStdString(entry.item);
    w.Menu().Connect(item, [&w, item] { w.FlipSwitch(item); });
  }
}

void MenuWiring::WireTitleBar(TMainF& w, int pane) {
  TitleBar* bar = (pane == 2 ? w.PaneB() : w.PaneA())->Bar();
  ViewCommands& v = w.View();
  QObject::connect(bar, &TitleBar::tileClicked, &w, [&w] { w.SetPanelTile(); });
  QObject::connect(bar, &TitleBar::kindClicked, &w, [&w, pane](int kind) { w.SetPaneKind(pane, kind); });
  QObject::connect(bar, &TitleBar::beginClicked, &w, [&w, &v, pane] { w.Apply(v.BeginTime(pane, true)); });
  QObject::connect(bar, &TitleBar::windowClicked, &w, [&w, &v, pane] { w.Apply(v.WindowButton(pane)); });
  QObject::connect(bar, &TitleBar::amplifyClicked, &w, [&w, &v] { w.Apply(v.IncreaseAmplification()); });
  QObject::connect(bar, &TitleBar::attenuateClicked, &w, [&w, &v] { w.Apply(v.DecreaseAmplification()); });
  QObject::connect(bar, &TitleBar::nextClicked, &w, [&w, &v, pane] { w.Apply(v.StepForward(pane)); });
  QObject::connect(bar, &TitleBar::previousClicked, &w, [&w, &v, pane] { w.Apply(v.StepBack(pane)); });
  QObject::connect(bar, &TitleBar::orderChosen, &w, [&w, &v, pane](int item) {
    w.Apply(pane == 2 ? v.ChooseOrderB(item) : v.ChooseOrderA(item));
  });
}

void MenuWiring::WirePanels(TMainF& w) {
  FloatingPanels& p = w.Panels();
  QObject::connect(&p, &FloatingPanels::helpClosed, &w, [&w] { w.UpdateDisplay(); });
  QObject::connect(&p, &FloatingPanels::infoChanged, &w,
                   [&w](const QString& text) { w.State().FileInfo = text.toStdString(); });
  QObject::connect(&p, &FloatingPanels::infoCancelled, &w, [&w] { w.UpdateDisplay(); });
  QObject::connect(&p, &FloatingPanels::infoAccepted, &w, [&w](const QString& text) {
    AnalysisState& s = w.State();
    s.FileInfo = text.toStdString();
    if (!s.MarkFileName.empty()) {
      try {
        WriteMarkFile(s, w.ActiveUi());
      } catch (const IoError& error) {
        w.ActiveUi().Error(error.what());
      }
    }
    w.UpdateDisplay();
  });
}

// The windows are made after the menu is wired, so the items look them up when chosen.
void MenuWiring::WireMiniWindows(TMainF& w) {
  MainMenu& m = w.Menu();
  m.Connect("ShowMiniMap1", [&w] { w.Mini().ShowMiniMap1Click(); });
  m.Connect("showMiniGrid1", [&w] { w.Mini().showMiniGrid1Click(); });
  m.Connect("ElgWaveforms1", [&w] { w.Mini().ElgWaveforms1Click(); });
  m.Connect("ElgWavesettings1", [&w] { w.Mini().ElgWavesettings1Click(); });
}

}  // namespace velmora
