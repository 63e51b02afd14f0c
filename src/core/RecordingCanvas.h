#pragma once

#include <string>
#include <vector>

#include "core/Canvas.h"

namespace velmora {

// A canvas that keeps every primitive as a line of text, so drawing can be checked and
// exported without pixels. Text is measured by a fixed metric: 7 pixels per character at the
// default 8-point font, scaled with the point size, and a line height of 2 × size - 3.
class RecordingCanvas : public Canvas {
 public:
  void SetPen(Colour colour, int width, PenMode mode) override;
  void SetBrush(Colour colour, BrushStyle style) override;
  void SetFont(Colour colour, FontStyle style) override;
  void Line(int x1, int y1, int x2, int y2) override;
  void Polyline(const std::vector<Point>& points) override;
  void Rectangle(int left, int top, int right, int bottom) override;
  void Ellipse(int left, int top, int right, int bottom) override;
  void TextOut(int x, int y, const std::string& text) override;
  int TextWidth(const std::string& text) override;
  int TextHeight(const std::string& text) override;

  const std::vector<std::string>& Lines() const { return lines_; }
  void Clear() { lines_.clear(); }

 private:
  std::vector<std::string> lines_;
  FontStyle font_;
};

}  // namespace velmora
