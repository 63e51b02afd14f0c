#pragma once

#include <string>
#include <vector>

#include "core/Canvas.h"
#include "output/PlotFrame.h"

namespace velmora {

struct AnalysisState;

// The electrode quality over the grid as the quality map shows it: each electrode's cell in
// the colour of its verdict with its quality written in it, and the map's key beside the grid.
struct QualityPicture {
  struct Cell {
    int col = 0, row = 0, channel = 0;
    double quality = 0;
    int band = 0;  // the quality map's colour band of the verdict
  };
  struct KeyEntry {
    int band = 0;
    std::string text;
  };

  int cols = 0, rows = 0;
  std::vector<Cell> cells;
  std::vector<KeyEntry> key;
  std::vector<int> dead;  // channels, ascending

  // Of the recording loaded; measures the quality when the marking did not. Empty when it
  // could not be measured.
  static QualityPicture Of(AnalysisState& state);
  bool Empty() const { return cells.empty(); }
  void Draw(Canvas& canvas, const PlotArea& area) const;
};

}  // namespace velmora
