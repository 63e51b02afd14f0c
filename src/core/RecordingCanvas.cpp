#include "core/RecordingCanvas.h"

#include <fmt/format.h>

namespace velmora {

void RecordingCanvas::SetPen(Colour colour, int width, PenMode mode) {
  lines_.push_back(fmt::format("pen {:06x} {} {}", colour, width, mode == PenMode::Copy ? "copy" : "notxor"));
}

void RecordingCanvas::SetBrush(Colour colour, BrushStyle style) {
  lines_.push_back(fmt::format("brush {:06x} {}", colour, style == BrushStyle::Solid ? "solid" : "clear"));
}

void RecordingCanvas::SetFont(Colour colour, FontStyle style) {
  font_ = style;
  lines_.push_back(fmt::format("font {:06x} {} {}{}", colour, style.size, style.bold ? "bold" : "normal",
                               style.italic ? " italic" : ""));
}

void RecordingCanvas::Line(int x1, int y1, int x2, int y2) {
  lines_.push_back(fmt::format("line {} {} {} {}", x1, y1, x2, y2));
}

void RecordingCanvas::Polyline(const std::vector<Point>& points) {
  std::string line = fmt::format("polyline {}", points.size());
  for (const Point& p : points) line += fmt::format(" {} {}", p.x, p.y);
  lines_.push_back(std::move(line));
}

void RecordingCanvas::Rectangle(int left, int top, int right, int bottom) {
  lines_.push_back(fmt::format("rect {} {} {} {}", left, top, right, bottom));
}

void RecordingCanvas::Ellipse(int left, int top, int right, int bottom) {
  lines_.push_back(fmt::format("ellipse {} {} {} {}", left, top, right, bottom));
}

void RecordingCanvas::TextOut(int x, int y, const std::string& text) {
  lines_.push_back(fmt::format("text {} {} {}", x, y, text));
}

int RecordingCanvas::TextWidth(const std::string& text) {
  return int(text.size()) * 7 * font_.size / 8;
}

int RecordingCanvas::TextHeight(const std::string&) {
  return 2 * font_.size - 3;
}

}  // namespace velmora
