#include "output/PrintGrid.h"

#include <string>

namespace velmora {

namespace {

constexpr int kColumnNumberGap = 10;
constexpr int kRowNumberGap = 20;

}  // namespace

void PrintGrid::PrintRectangle(Canvas& canvas, int left, int top, int right, int bottom) {
  canvas.Line(left, top, right, top);
  canvas.Line(right, top, right, bottom);
  canvas.Line(right, bottom, left, bottom);
  canvas.Line(left, bottom, left, top);
}

void PrintGrid::PrintTicks(Canvas& canvas, const Geometry& g, int length) {
  const int right = g.Right(), bottom = g.Bottom();
  for (int k = 0; k <= g.cols; ++k) {
    const int x = g.left + k * g.cellWidth;
    canvas.Line(x, g.top, x, g.top + length);
    canvas.Line(x, bottom, x, bottom - length);
  }
  for (int k = 0; k <= g.rows; ++k) {
    const int y = g.top + k * g.cellHeight;
    canvas.Line(g.left, y, g.left + length, y);
    canvas.Line(right, y, right - length, y);
  }
}

void PrintGrid::PrintLines(Canvas& canvas, const Geometry& g) {
  const int right = g.Right(), bottom = g.Bottom();
  for (int k = 0; k <= g.cols; ++k) canvas.Line(g.left + k * g.cellWidth, g.top, g.left + k * g.cellWidth, bottom);
  for (int k = 0; k <= g.rows; ++k) canvas.Line(g.left, g.top + k * g.cellHeight, right, g.top + k * g.cellHeight);
}

void PrintGrid::PrintAxisNumbers(Canvas& canvas, const Geometry& g) {
  FontStyle italic;
  italic.italic = true;
  canvas.SetFont(colours::kBlack, italic);
  canvas.SetBrush(colours::kWhite, BrushStyle::Clear);
  for (int column = 1; column <= g.cols; ++column) {
    const std::string number = std::to_string(column);
    const int centre = g.left + (column - 1) * g.cellWidth + g.cellWidth / 2;
    canvas.TextOut(centre - canvas.TextWidth(number) / 2, g.Bottom() + kColumnNumberGap, number);
  }
  for (int row = 1; row <= g.rows; ++row) {
    const std::string number = std::to_string(row);
    const int centre = g.top + (row - 1) * g.cellHeight + g.cellHeight / 2;
    canvas.TextOut(g.left - kRowNumberGap - canvas.TextWidth(number), centre, number);
  }
  canvas.SetFont(colours::kBlack, FontStyle{});
}

}  // namespace velmora
