#pragma once

#include <QObject>

#include "maps/MiniMap.h"

class QLabel;
class QWidget;

namespace velmora {

struct AnalysisState;
class PaneWidget;
class Ui;

// The "MiniMap" window: the mini map on a paint box, its pointer read-out in the window
// caption, a click to start the electrograms at an electrode, and the arrow keys, which move
// the electrogram pane through the grid as they do in the main window. It fills the window
// shell made at start.
class MiniMapWindow : public QObject {
  Q_OBJECT

 public:
  MiniMapWindow(QWidget* shell, AnalysisState& state, Ui& ui);

  // Sizes the paint box and the window to the grid and draws the map.
  void DrawMiniMap();
  void Show();
  QWidget* Window() const { return shell_; }
  PaneWidget* Paint() const { return paint_; }
  const MiniMap& Map() const { return map_; }

 signals:
  // The first channel changed: the panes are to be redrawn.
  void firstChannelChosen();
  void gridKeyPressed(int key);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FormClick();

  QWidget* shell_;
  PaneWidget* paint_;
  QLabel* readout_;
  AnalysisState& state_;
  Ui& ui_;
  MiniMap map_;
};

}  // namespace velmora
