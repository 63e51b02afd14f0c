#pragma once

#include "core/Canvas.h"

namespace velmora {

// The frame of a printed grid of cells: its outline, ticks or lines at the cell boundaries
// and the column and row numbers beside it.
class PrintGrid {
 public:
  struct Geometry {
    int left = 0, top = 0;  // the grid's top-left corner
    int cols = 0, rows = 0;
    int cellWidth = 0, cellHeight = 0;
    int Right() const { return left + cols * cellWidth; }
    int Bottom() const { return top + rows * cellHeight; }
  };

  // The outline of a rectangle drawn as four lines, so nothing inside is painted over.
  static void PrintRectangle(Canvas& canvas, int left, int top, int right, int bottom);
  // Ticks `length` long pointing inwards from all four edges at every cell boundary.
  static void PrintTicks(Canvas& canvas, const Geometry& grid, int length);
  // Full lines at every cell boundary.
  static void PrintLines(Canvas& canvas, const Geometry& grid);
  // In italic type: column numbers centred under their columns (their top 10 below the
  // grid) and row numbers right-aligned 20 left of it (their top at the row's centre).
  static void PrintAxisNumbers(Canvas& canvas, const Geometry& grid);
};

}  // namespace velmora
