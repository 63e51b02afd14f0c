#include "ui/MiniMapWindow.h"

#include <algorithm>

#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QWidget>

#include "ui/PaneWidget.h"
#include "ui/QtCanvas.h"

namespace velmora {

namespace {

constexpr int kReadoutIndent = 4;
// The widest read-out the window makes room for, so that it keeps its width as the pointer moves.
constexpr MiniMap::Position kWidestPosition{100, 100, -12345};

}  // namespace

MiniMapWindow::MiniMapWindow(QWidget* shell, AnalysisState& state, Ui& ui)
    : QObject(shell), shell_(shell), state_(state), ui_(ui), map_(state) {
  paint_ = new PaneWidget(shell);
  paint_->setObjectName("MiniPaint");
  paint_->move(MiniMap::kLeft, MiniMap::kTop);
  shell->setFocusPolicy(Qt::StrongFocus);
  shell->installEventFilter(this);
  connect(paint_, &PaneWidget::RedrawNeeded, this, &MiniMapWindow::DrawMiniMap);
  // The caption says where the pointer is; a window as narrow as the grid cuts the caption,
  // so the same read-out stands below the map as well.
  readout_ = new QLabel(shell);
  readout_->setObjectName("MiniReadout");
  connect(paint_, &PaneWidget::PointerMoved, this, [this](int x, int y) {
    const QString caption = QString::fromStdString(map_.MiniPaintMouseMove(x, y));
    shell_->setWindowTitle(caption);
    readout_->setText(caption.trimmed());
  });
  connect(paint_, &PaneWidget::Clicked, this, [this] { FormClick(); });
}

void MiniMapWindow::DrawMiniMap() {
  const MiniGrid::Size box = MiniMap::PaintBoxSize(state_);
  const MiniGrid::Size window = MiniMap::WindowSize(state_);
  paint_->resize(box.width, box.height);
  const QFontMetrics metrics = readout_->fontMetrics();
  const int readoutWidth = metrics.horizontalAdvance(QString::fromStdString(MiniMap::Caption(kWidestPosition)).trimmed());
  readout_->setGeometry(MiniMap::kLeft + kReadoutIndent, MiniMap::kTop + box.height, readoutWidth, metrics.height());
  shell_->resize(std::max(window.width, readout_->geometry().right() + 1 + kReadoutIndent),
                 window.height + metrics.height());
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
