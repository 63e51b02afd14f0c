#pragma once

#include "core/Canvas.h"

namespace velmora {

// Passes every primitive to the canvas set last, so a long-lived drawing object can draw on
// whichever surface (a pane's back buffer, a page, a picture file) the current redraw uses.
class ForwardingCanvas : public Canvas {
 public:
  void SetTarget(Canvas* target) { target_ = target; }

  void SetPen(Colour colour, int width, PenMode mode) override { target_->SetPen(colour, width, mode); }
  void SetBrush(Colour colour, BrushStyle style) override { target_->SetBrush(colour, style); }
  void SetFont(Colour colour, FontStyle style) override { target_->SetFont(colour, style); }
  void Line(int x1, int y1, int x2, int y2) override { target_->Line(x1, y1, x2, y2); }
  void Polyline(const std::vector<Point>& points) override { target_->Polyline(points); }
  void Rectangle(int left, int top, int right, int bottom) override { target_->Rectangle(left, top, right, bottom); }
  void Ellipse(int left, int top, int right, int bottom) override { target_->Ellipse(left, top, right, bottom); }
  void TextOut(int x, int y, const std::string& text) override { target_->TextOut(x, y, text); }
  int TextWidth(const std::string& text) override { return target_->TextWidth(text); }
  int TextHeight(const std::string& text) override { return target_->TextHeight(text); }

 private:
  Canvas* target_ = nullptr;
};

}  // namespace velmora
