#pragma once

#include <cstdint>
#include <vector>

#include "core/Canvas.h"
#include "output/PrintLayout.h"

namespace velmora {

struct AnalysisState;

// Pane A in its wave-form mode on paper: one small electrogram per grid cell, over pane A's
// window or centred on the cell's mark, in cells as wide as the printable width allows and
// as high as the pane allows (not square).
class PrintWaveForms {
 public:
  PrintWaveForms(AnalysisState& state, Canvas& canvas, const PrintLayout& layout)
      : state_(state), canvas_(canvas), layout_(layout) {}

  void Print(const PrintPane& pane);

 private:
  void PrintEleMapGrid2(const PrintPane& pane);
  void FillMarkTimes();
  void PrintOneWaveSignal(int column, int row, int32_t channel, int x0, int y);

  AnalysisState& state_;
  Canvas& canvas_;
  const PrintLayout& layout_;
  int cellWidth_ = 0, cellHeight_ = 0;
  double xs_ = 0;  // units per sample: the window fills a cell's width
  std::vector<Point> points_;
};

}  // namespace velmora
