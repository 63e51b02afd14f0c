#include "ui/MiniWindows.h"

#include <QAction>

#include "core/AnalysisState.h"
#include "ui/MainMenu.h"
#include "ui/MiniGridWindow.h"
#include "ui/MiniMapWindow.h"
#include "ui/TMainF.h"
#include "ui/WaveFormSettingsWindow.h"
#include "ui/WindowSet.h"

namespace velmora {

MiniWindows::MiniWindows(TMainF& main, const WindowSet& windows) : QObject(&main), main_(main) {
  AnalysisState& s = main.State();
  map_ = new MiniMapWindow(windows.Find("TMapF"), s, main.ActiveUi());
  grid_ = new MiniGridWindow(windows.Find("TMiniWindowF"), s);
  settings_ = new WaveFormSettingsWindow(windows.Find("TWaveF"), s, main.ActiveUi());
  connect(map_, &MiniMapWindow::firstChannelChosen, &main, &TMainF::UpdateDisplay);
  connect(map_, &MiniMapWindow::gridKeyPressed, &main, [&main](int key) { main.FormKeyDown(key, Qt::NoModifier); });
  connect(settings_, &WaveFormSettingsWindow::closed, &main, &TMainF::UpdateDisplay);
}

// Turning the map off leaves its window where it is: only the drawing stops following pane A.
void MiniWindows::ShowMiniMap1Click() {
  AnalysisState& s = main_.State();
  s.ShowMiniMap = !s.ShowMiniMap;
  QAction* item = main_.Menu().Action("ShowMiniMap1");
  item->setChecked(s.ShowMiniMap);
  item->setText(s.ShowMiniMap ? "hide MiniMap" : "show MiniMap");
  if (s.ShowMiniMap) map_->Show();
}

void MiniWindows::showMiniGrid1Click() {
  AnalysisState& s = main_.State();
  s.ShowMiniGrid = !s.ShowMiniGrid;
  main_.Menu().Action("showMiniGrid1")->setText(s.ShowMiniGrid ? "hide Mini Window" : "show Mini Window");
  if (s.ShowMiniGrid) return grid_->Show();
  grid_->Hide();
  main_.UpdateDisplay();
}

void MiniWindows::ElgWaveforms1Click() {
  AnalysisState& s = main_.State();
  s.PaneKindA = 1;
  s.ElgModeA = 2;
  main_.UpdateDisplay();
}

void MiniWindows::ElgWavesettings1Click() { settings_->Show(); }

void MiniWindows::PaneADrawn() {
  if (main_.State().ShowMiniMap) map_->DrawMiniMap();
}

void MiniWindows::DisplayUpdated() {
  if (main_.State().ShowMiniGrid) grid_->Show();
}

}  // namespace velmora
