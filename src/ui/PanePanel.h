#pragma once

#include <QColor>
#include <QWidget>

#include "ui/TitleBar.h"

class QScrollArea;

namespace velmora {

class PaneWidget;

// One display pane of the main window: a title bar over a scroll box holding the pane's
// paint area. Pane A and pane B are two of these, named by their letter ("MainPanelA",
// "TitleBarA", "ScrollBoxA", "PaintA").
class PanePanel : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kTitleBarHeight = TitleBar::kHeight;
  static constexpr int kTitleFontPixels = TitleBar::kCaptionPixels;

  PanePanel(const QString& letter, QWidget* parent);

  TitleBar* Bar() const { return bar_; }
  QScrollArea* ScrollBox() const { return scrollBox_; }
  PaneWidget* Paint() const { return paint_; }

  // Shorthands for the title bar's caption and colour.
  void SetCaption(const QString& caption);
  QString Caption() const;
  void SetTitleColour(const QColor& colour);

 private:
  TitleBar* bar_;
  QScrollArea* scrollBox_;
  PaneWidget* paint_;
};

}  // namespace velmora
