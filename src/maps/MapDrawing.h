#pragma once

#include <cstdint>

#include "core/Canvas.h"
#include "core/MapCell.h"
#include "maps/MapDrawingHooks.h"

namespace velmora {

struct AnalysisState;

// Draws a map into a pane: coloured cells, their digits, the grid, crosses over excluded
// electrodes, the trace outline, isochrones and velocity arrows.
class MapDrawing {
 public:
  struct Edges {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
  };

  // The whole redraw of a map pane of the given size.
  static void DrawMap(AnalysisState& state, Canvas& canvas, int paneWidth, int paneHeight,
                      const MapDrawingHooks& hooks);

  // Square cells as large as the pane allows; also sets the pane rectangle and the grid's
  // right and bottom edge.
  static void CalcCellSize(AnalysisState& state, int paneWidth, int paneHeight);
  static void ClearMapPane(const AnalysisState& state, Canvas& canvas);

  // The outline rectangle (one pixel wider and higher than the cell) of a channel's cell.
  static Edges CellRect(const AnalysisState& state, int channel);
  static Point CellCentre(const AnalysisState& state, int column, int row);

  // The value of the cell at (left, top), centred in the cell, in black.
  static void DrawCellValue(const AnalysisState& state, Canvas& canvas, int left, int top,
                            int32_t value, double realValue, bool isReal, FontStyle style = {});
  static void DrawMapGrid(const AnalysisState& state, Canvas& canvas);
  static void DrawExcludedCell(const AnalysisState& state, Canvas& canvas, int channel);

  // The value a cell is coloured by: its Value, or for amplitude, slope and velocity maps its
  // real value rounded.
  static int32_t ColourValue(const AnalysisState& state, const MapCell& cell);

  // True when the channel has a cell on the electrode grid.
  static bool OnGrid(const AnalysisState& state, int channel);

 private:
  static void DrawCells(const AnalysisState& state, Canvas& canvas);
  static void DrawCell(const AnalysisState& state, Canvas& canvas, int channel);
};

}  // namespace velmora
