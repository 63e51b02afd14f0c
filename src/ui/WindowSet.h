#pragma once

#include <vector>

#include <QPointer>
#include <QString>
#include <QWidget>

namespace velmora {

// The workbench's windows besides the main window. They are all made at start, right after
// the main window and in a fixed order, live for the whole run and are only ever shown and
// hidden. Each is a top-level window of its own that belongs to the main window (it closes
// with it and never counts as the last window open).
class WindowSet {
 public:
  struct Description {
    const char* className;
    const char* caption;
    bool staysOnTop;
  };

  // The windows in the order they are made.
  static const std::vector<Description>& Descriptions();

  explicit WindowSet(QWidget* mainWindow);
  ~WindowSet();
  WindowSet(const WindowSet&) = delete;
  WindowSet& operator=(const WindowSet&) = delete;

  int Count() const { return int(windows_.size()); }
  QWidget* At(int index) const { return windows_[size_t(index)].data(); }
  // The window whose class name is `className`, or nullptr.
  QWidget* Find(const QString& className) const;

 private:
  // Guarded pointers: the main window may delete its children before this set goes.
  std::vector<QPointer<QWidget>> windows_;
};

}  // namespace velmora
