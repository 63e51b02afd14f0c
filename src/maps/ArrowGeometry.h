#pragma once

#include <cstdint>

namespace velmora {

struct AnalysisState;

struct PixelPoint {
  int32_t x = 0, y = 0;
  bool operator==(const PixelPoint&) const = default;
};

// Where a velocity arrow of the map goes, in pane pixels (x right, y down). The drawing
// side draws the shaft start -> tip and the two head strokes tip -> head.
class ArrowGeometry {
 public:
  static constexpr int32_t kHeadLength = 5;

  struct Head {
    PixelPoint first, second;
  };

  // The two head points of an arrow from `start` to `tip`, `length` pixels back from the tip.
  static Head ArrowHead(PixelPoint start, PixelPoint tip, int32_t length = kHeadLength);
  // Degrees counter-clockwise from screen-right, screen-up being 90; 0 <= d < 360; a
  // zero-length arrow gets 0.
  static double ArrowDirection(PixelPoint start, PixelPoint tip);
  // Start of the arrow of the square whose top-left cell is (column, row), `step` cells
  // across: for step 1 the corner the four cells share.
  static PixelPoint ArrowStart(const AnalysisState& state, int column, int row, int step);
  // The tip `vx`, `vy` (mm/ms) scaled by ArrowSize away from the start.
  static PixelPoint ArrowTip(const AnalysisState& state, PixelPoint start, double vx, double vy);
  // The tip of an arrow from `start` (inside the grid) cut where the shaft reaches the edge of
  // the grid (MapLeft..MapRight x MapTop..MapBottom); a tip inside the grid stays where it is.
  static PixelPoint ClipToGrid(const AnalysisState& state, PixelPoint start, PixelPoint tip);
  // The nearest point of the grid rectangle.
  static PixelPoint InsideGrid(const AnalysisState& state, PixelPoint point);
};

}  // namespace velmora
