#pragma once

#include "core/Canvas.h"

namespace velmora {

// Paper gets black ink only: every colour but white (the paper itself) becomes black, so
// drawing code shared with the coloured panes prints legibly on any printer.
class BlackInkCanvas : public Canvas {
 public:
  explicit BlackInkCanvas(Canvas& paper) : paper_(paper) {}

  static Colour Ink(Colour colour) { return colour == colours::kWhite ? colours::kWhite : colours::kBlack; }

  void SetPen(Colour colour, int width = 1, PenMode mode = PenMode::Copy) override { paper_.SetPen(Ink(colour), width, mode); }
  void SetBrush(Colour colour, BrushStyle style = BrushStyle::Solid) override { paper_.SetBrush(Ink(colour), style); }
  void SetFont(Colour colour, FontStyle style) override { paper_.SetFont(Ink(colour), style); }
  void Line(int x1, int y1, int x2, int y2) override { paper_.Line(x1, y1, x2, y2); }
  void Polyline(const std::vector<Point>& points) override { paper_.Polyline(points); }
  void Rectangle(int left, int top, int right, int bottom) override { paper_.Rectangle(left, top, right, bottom); }
  void Ellipse(int left, int top, int right, int bottom) override { paper_.Ellipse(left, top, right, bottom); }
  void TextOut(int x, int y, const std::string& text) override { paper_.TextOut(x, y, text); }
  int TextWidth(const std::string& text) override { return paper_.TextWidth(text); }
  int TextHeight(const std::string& text) override { return paper_.TextHeight(text); }

 private:
  Canvas& paper_;
};

}  // namespace velmora
