#pragma once

#include <QColor>
#include <QWidget>

class QLabel;
class QScrollArea;

namespace velmora {

class PaneWidget;

// One display pane of the main window: a title bar over a scroll box holding the pane's
// paint area. Pane A and pane B are two of these, named by their letter ("MainPanelA",
// "TitleBarA", "ScrollBoxA", "PaintA").
class PanePanel : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kTitleBarHeight = 25;
  static constexpr int kTitleFontPixels = 15;

  PanePanel(const QString& letter, QWidget* parent);

  QLabel* TitleBar() const { return titleBar_; }
  QScrollArea* ScrollBox() const { return scrollBox_; }
  PaneWidget* Paint() const { return paint_; }

  void SetCaption(const QString& caption);
  QString Caption() const;
  void SetTitleColour(const QColor& colour);

 private:
  QLabel* titleBar_;
  QScrollArea* scrollBox_;
  PaneWidget* paint_;
};

}  // namespace velmora
