#include "ui/PaneWidget.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>

namespace velmora {

PaneWidget::PaneWidget(QWidget* parent) : QWidget(parent) {
  // The image covers the whole widget, so Qt need not clear the background first.
  setAttribute(Qt::WA_OpaquePaintEvent);
  // Read-outs follow the pointer without a button held.
  setMouseTracking(true);
  AllocateBuffer(size());
}

void PaneWidget::mouseMoveEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  emit PointerMoved(at.x(), at.y());
}

void PaneWidget::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const QPoint at = event->position().toPoint();
  emit Clicked(at.x(), at.y());
}

void PaneWidget::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const QPoint at = event->position().toPoint();
  emit DoubleClicked(at.x(), at.y());
}

void PaneWidget::AllocateBuffer(const QSize& size) {
  backBuffer_ = QImage(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
  backBuffer_.setDotsPerMeterX(kDotsPerMeter);
  backBuffer_.setDotsPerMeterY(kDotsPerMeter);
  backBuffer_.fill(Qt::white);
}

void PaneWidget::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  painter.drawImage(event->rect(), backBuffer_, event->rect());
}

void PaneWidget::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (event->size() == backBuffer_.size()) return;
  AllocateBuffer(event->size());
  emit RedrawNeeded();
}

}  // namespace velmora
