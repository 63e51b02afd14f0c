#include "ui/WindowPlacement.h"

#include <algorithm>
#include <optional>

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>

#include "ui/WorkbenchSettings.h"

namespace velmora {

namespace {

constexpr int kMargin = 10;
// Windows shown one after another step down and left by this much, so none hides another whole.
constexpr int kCascade = 28;
constexpr int kCascadeSteps = 6;

}  // namespace

WindowPlacement::WindowPlacement(QWidget* panes, int titleHeight, QWidget* menuBar, const DataRoot& root,
                                 const std::vector<QWidget*>& windows)
    : QObject(panes), panes_(panes), titleHeight_(titleHeight), menuBar_(menuBar), root_(root) {
  for (QWidget* window : windows)
    if (window != nullptr) window->installEventFilter(this);
}

// The Show event comes before the window is on the screen, so it appears at its place at once.
bool WindowPlacement::eventFilter(QObject* watched, QEvent* event) {
  auto* window = qobject_cast<QWidget*>(watched);
  if (window != nullptr && window->isWindow()) {
    if (event->type() == QEvent::Show) Place(window);
    if (event->type() == QEvent::Hide) Save(window);
  }
  return QObject::eventFilter(watched, event);
}

void WindowPlacement::Place(QWidget* window) {
  if (std::find(placed_.begin(), placed_.end(), window) != placed_.end()) {
    window->move(KeptClear(window, window->pos()));
    return;
  }
  const std::optional<QPoint> left = WorkbenchSettings(root_).LoadWindowPosition(window->objectName());
  const QPoint spot = left ? *left : Beside(window);
  placed_.emplace_back(window);
  window->move(KeptClear(window, spot));
}

// Over the top right of the panes, below the title bars and their buttons.
QPoint WindowPlacement::Beside(const QWidget* window) const {
  if (!panes_) return window->pos();
  const QRect panes(panes_->mapToGlobal(QPoint(0, 0)), panes_->size());
  const int step = int(placed_.size() % kCascadeSteps) * kCascade;
  return {panes.right() - window->frameGeometry().width() - kMargin - step,
          panes.top() + titleHeight_ + kMargin + step};
}

// On the screen the panes are on, and below the menu bar where it lies across the main window.
QPoint WindowPlacement::KeptClear(const QWidget* window, QPoint spot) const {
  const QScreen* screen = panes_ ? panes_->screen() : QGuiApplication::primaryScreen();
  const QRect area = screen != nullptr ? screen->availableGeometry() : QRect(spot, window->frameGeometry().size());
  const QSize size = window->frameGeometry().size();
  spot.setX(std::clamp(spot.x(), area.left(), std::max(area.left(), area.right() + 1 - size.width())));
  spot.setY(std::clamp(spot.y(), area.top(), std::max(area.top(), area.bottom() + 1 - size.height())));
  if (menuBar_ && menuBar_->isVisible()) {
    const QRect bar(menuBar_->mapToGlobal(QPoint(0, 0)), menuBar_->size());
    const QRect frame(spot, size);
    if (frame.intersects(bar)) spot.setY(bar.bottom() + 1);
  }
  return spot;
}

void WindowPlacement::Save(const QWidget* window) {
  if (std::find(placed_.begin(), placed_.end(), window) == placed_.end()) return;
  WorkbenchSettings(root_).SaveWindowPosition(window->objectName(), window->pos());
}

void WindowPlacement::SaveAll() {
  for (const QPointer<QWidget>& window : placed_)
    if (window) Save(window);
}

}  // namespace velmora
