#pragma once

#include <string>

#include "core/Canvas.h"
#include "output/PrintLayout.h"
#include "output/PrintSettings.h"

namespace velmora {

struct AnalysisState;

// A map or wave-map pane on paper: square cells with their values as digits, a cross where
// the grid has no electrode, ticks and axis numbers around the grid, the isochrones and, on
// request, the wave's size in the statistics bar. Reads the pane settings the page has set.
class PrintMapPane {
 public:
  PrintMapPane(AnalysisState& state, Canvas& canvas, const PrintLayout& layout, const PrintSources& sources)
      : state_(state), canvas_(canvas), layout_(layout), sources_(sources) {}

  // `bothPanes`: the other pane is printed too, and its traces are circled on the map.
  void Print(const PrintPane& pane, bool bothPanes);

  // The side of the square cells: as large as the printable width and the pane (less its
  // reserve) allow; 0 without a grid.
  static int CalcPrintMapSize(const AnalysisState& state, int printWidth, int paneHeight);
  // Fill, expansion and velocities as the map panes compute them.
  static MapDrawingHooks StandardHooks();
  // The text a cell shows, empty for none.
  static std::string CellText(const AnalysisState& state, int column, int row);

 private:
  void PrintMapOutLine(const PrintPane& pane);
  void PrintChannelsOnMap(const PrintPane& pane);
  void FillPrintedGrid(int pane);
  FontStyle DigitStyle();
  void PrintMap(const PrintPane& pane);
  void PrintCross(int x, int y);
  void PrintIsoLines(const PrintPane& pane);
  void PrintStatisticsBar();

  AnalysisState& state_;
  Canvas& canvas_;
  const PrintLayout& layout_;
  const PrintSources& sources_;
  int cell_ = 0;
};

}  // namespace velmora
