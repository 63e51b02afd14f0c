#pragma once

#include <QObject>

namespace velmora {

class MiniGridWindow;
class MiniMapWindow;
class TMainF;
class WaveFormSettingsWindow;
class WindowSet;

// The small windows that orient the user on the grid while looking at electrograms (the
// mini map and the mini grid) and the wave-form settings, with the menu commands that show
// them and pane A's wave-form mode.
class MiniWindows : public QObject {
  Q_OBJECT

 public:
  MiniWindows(TMainF& main, const WindowSet& windows);

  void ShowMiniMap1Click();
  void showMiniGrid1Click();
  void ElgWaveforms1Click();
  void ElgWavesettings1Click();

  // Pane A has just been drawn as electrograms: the mini map follows it while it is on.
  void PaneADrawn();
  // The full refresh shows and draws the mini grid while it is on.
  void DisplayUpdated();

  MiniMapWindow& Map() const { return *map_; }
  MiniGridWindow& Grid() const { return *grid_; }
  WaveFormSettingsWindow& Settings() const { return *settings_; }

 private:
  TMainF& main_;
  MiniMapWindow* map_;
  MiniGridWindow* grid_;
  WaveFormSettingsWindow* settings_;
};

}  // namespace velmora
