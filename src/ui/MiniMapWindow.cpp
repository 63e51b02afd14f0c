#include "ui/MiniMapWindow.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWidget>

#include "ui/PaneWidget.h"
#include "ui/QtCanvas.h"

namespace velmora {

MiniMapWindow::MiniMapWindow(QWidget* shell, AnalysisState& state, Ui& ui)
    : QObject(shell), shell_(shell), state_(state), ui_(ui), map_(state) {
  paint_ = new PaneWidget(shell);
  paint_->setObjectName("MiniPaint");
  paint_->move(MiniMap::kLeft, MiniMap::kTop);
  shell->setFocusPolicy(Qt::StrongFocus);
  shell->installEventFilter(this);
  connect(paint_, &PaneWidget::RedrawNeeded, this, &MiniMapWindow::DrawMiniMap);
  connect(paint_, &PaneWidget::PointerMoved, this,
          [this](int x, int y) { shell_->setWindowTitle(QString::fromStdString(map_.MiniPaintMouseMove(x, y))); });
  connect(paint_, &PaneWidget::Clicked, this, [this] { FormClick(); });
}

void MiniMapWindow::DrawMiniMap() {
  const MiniGrid::Size box = MiniMap::PaintBoxSize(state_);
  const MiniGrid::Size window = MiniMap::WindowSize(state_);
  paint_->resize(box.width, box.height);
  shell_->resize(window.width, window.height);
  // A box not shown yet gets its new buffer when it is shown, and asks for this drawing again.
  if (paint_->BackBuffer().size() != paint_->size()) return;
  {
    QPainter painter(&paint_->BackBuffer());
    QtCanvas canvas(painter);
    map_.DrawMiniMap(canvas);
  }
  paint_->update();
}

void MiniMapWindow::Show() {
  shell_->show();
  shell_->raise();
  DrawMiniMap();
}

void MiniMapWindow::FormClick() {
  if (map_.FormClick(ui_)) emit firstChannelChosen();
}

bool MiniMapWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched != shell_) return QObject::eventFilter(watched, event);
  if (event->type() == QEvent::MouseButtonRelease &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    FormClick();
    return true;
  }
  if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
  const int key = static_cast<QKeyEvent*>(event)->key();
  if (key != Qt::Key_Left && key != Qt::Key_Right && key != Qt::Key_Up && key != Qt::Key_Down) return false;
  emit gridKeyPressed(key);
  return true;
}

}  // namespace velmora
