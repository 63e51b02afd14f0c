#pragma once

#include <QObject>

class QWidget;

namespace velmora {

struct AnalysisState;
class PaneWidget;

// The "Mini Grid" window: the small grid overview, drawn when the window is shown or
// activated (not with every change of the electrogram pane). It fills the window shell
// made at start.
class MiniGridWindow : public QObject {
  Q_OBJECT

 public:
  MiniGridWindow(QWidget* shell, const AnalysisState& state);

  void DisplayMiniGrid();
  void Show();
  void Hide();
  QWidget* Window() const { return shell_; }
  PaneWidget* Paint() const { return paint_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* shell_;
  PaneWidget* paint_;
  const AnalysisState& state_;
};

}  // namespace velmora
