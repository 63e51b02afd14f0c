#pragma once

#include <memory>

#include <QPainter>
#include <QSize>

#include "core/Canvas.h"

namespace velmora {

class PaneWidget;
class PaperCanvas;
class QtCanvas;

// The canvas a pane's drawing code draws on for one redraw: the pane's back buffer, or the
// picture being made of the pane (at the picture's size, in black ink when asked). Every
// drawing of a pane goes through one, so a picture is the pane's own drawing.
class PanePainter {
 public:
  explicit PanePainter(PaneWidget& pane);
  ~PanePainter();
  PanePainter(const PanePainter&) = delete;
  PanePainter& operator=(const PanePainter&) = delete;

  Canvas& Surface();
  int Width() const { return size_.width(); }
  int Height() const { return size_.height(); }

 private:
  std::unique_ptr<QPainter> own_;
  QPainter* painter_;
  QSize size_;
  std::unique_ptr<QtCanvas> canvas_;
  std::unique_ptr<PaperCanvas> paper_;
};

}  // namespace velmora
