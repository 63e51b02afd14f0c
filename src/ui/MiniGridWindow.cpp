#include "ui/MiniGridWindow.h"

#include <QEvent>
#include <QPainter>
#include <QWidget>

#include "maps/MiniGrid.h"
#include "ui/PaneWidget.h"
#include "ui/QtCanvas.h"

namespace velmora {

MiniGridWindow::MiniGridWindow(QWidget* shell, const AnalysisState& state)
    : QObject(shell), shell_(shell), state_(state) {
  paint_ = new PaneWidget(shell);
  paint_->setObjectName("MiniGridPaint");
  paint_->move(1, 1);
  shell->installEventFilter(this);
  connect(paint_, &PaneWidget::RedrawNeeded, this, &MiniGridWindow::DisplayMiniGrid);
}

void MiniGridWindow::DisplayMiniGrid() {
  const MiniGrid::Size box = MiniGrid::PaintBoxSize(state_);
  const MiniGrid::Size window = MiniGrid::WindowSize(state_);
  paint_->resize(box.width, box.height);
  shell_->resize(window.width, window.height);
  if (paint_->BackBuffer().size() != paint_->size()) return;  // drawn again once shown
  {
    QPainter painter(&paint_->BackBuffer());
    QtCanvas canvas(painter);
    MiniGrid::DisplayMiniGrid(state_, canvas);
  }
  paint_->update();
}

void MiniGridWindow::Show() {
  shell_->show();
  shell_->raise();
  DisplayMiniGrid();
}

void MiniGridWindow::Hide() { shell_->hide(); }

bool MiniGridWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == shell_ && event->type() == QEvent::WindowActivate) DisplayMiniGrid();
  return QObject::eventFilter(watched, event);
}

}  // namespace velmora
