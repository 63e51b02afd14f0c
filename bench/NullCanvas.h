#pragma once

#include <string>
#include <vector>

#include "core/Canvas.h"

namespace velmora::bench {

// Takes every drawing call and does nothing with it, so a benchmark measures the drawing
// code's own work.
class NullCanvas : public Canvas {
 public:
  void SetPen(Colour, int, PenMode) override {}
  void SetBrush(Colour, BrushStyle) override {}
  void SetFont(Colour, FontStyle) override {}
  void Line(int, int, int, int) override {}
  void Polyline(const std::vector<Point>&) override {}
  void Rectangle(int, int, int, int) override {}
  void Ellipse(int, int, int, int) override {}
  void TextOut(int, int, const std::string&) override {}
  int TextWidth(const std::string& text) override { return int(text.size()) * 7; }
  int TextHeight(const std::string&) override { return 13; }
};

}  // namespace velmora::bench
