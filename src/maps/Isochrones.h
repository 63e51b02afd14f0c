#pragma once

#include <array>
#include <cstdint>

#include "core/Canvas.h"

namespace velmora {

struct AnalysisState;

// Lines of equal time over a map, traced by marching squares between cell centres.
class Isochrones {
 public:
  // Draws one line per level of `IsochroneStep` ms between the smallest and the largest cell
  // value. A step below 1 draws nothing: a 1 ms step on a long map would take one pass over
  // the grid per millisecond. Printed maps draw them with a wider pen.
  static void DrawIsochrones(const AnalysisState& state, Canvas& canvas, int penWidth = 1);

  // The points where the level crosses the square with the top-left cell (column, row), in
  // edge order (top, right, bottom, left); returns how many there are (0, 2 or 4).
  static int SquareCrossings(const AnalysisState& state, int column, int row, int32_t level,
                             std::array<Point, 4>& points);

  // A cell's value when it takes part in the isochrones, else NoValue: only cells of an
  // electrode with a real value do, and on a time map only times inside the map window.
  static int32_t CornerValue(const AnalysisState& state, int column, int row);

 private:
  static void DrawLevel(const AnalysisState& state, Canvas& canvas, int32_t level);
};

}  // namespace velmora
