#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QWidget>
#include <vector>

namespace velmora {

class DataRoot;

// Where the small windows appear: the first time in a run a window is shown it goes where the
// user left it in an earlier run, or else over the top right of the panes, below their title
// bars; never over the main
// window's menu bar, always on the screen. Where the user leaves each window is kept for the
// runs to come, when it is hidden and when the run ends.
class WindowPlacement : public QObject {
  Q_OBJECT

 public:
  // `panes` is the area the windows are placed over, below its top `titleHeight` pixels (the
  // panes' title bars and their buttons); `menuBar` the strip they always keep clear of.
  WindowPlacement(QWidget* panes, int titleHeight, QWidget* menuBar, const DataRoot& root,
                  const std::vector<QWidget*>& windows);

  // Keeps the place of every window shown in this run.
  void SaveAll();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Place(QWidget* window);
  QPoint Beside(const QWidget* window) const;
  QPoint KeptClear(const QWidget* window, QPoint spot) const;
  void Save(const QWidget* window);

  QPointer<QWidget> panes_;
  int titleHeight_;
  QPointer<QWidget> menuBar_;
  const DataRoot& root_;
  std::vector<QPointer<QWidget>> placed_;  // shown in this run, in the order of their first showing
};

}  // namespace velmora
