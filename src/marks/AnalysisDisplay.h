#pragma once

#include <cstdint>

namespace velmora {

struct AnalysisState;
class Canvas;
class ElectrogramDrawing;
class Ui;

// Pane A's analyse mode: the first trace's channel with its marks and the samples that fall
// more than three standard deviations below its offset, and the channel differentiated
// below it.
class AnalysisDisplay {
 public:
  AnalysisDisplay(AnalysisState& state, Canvas& canvas, Ui& ui, ElectrogramDrawing& drawing)
      : state_(state), canvas_(canvas), ui_(ui), drawing_(drawing) {}

  void DrawAnalysisTraces();
  void DrawDiffTrace(int trace, int32_t channel);

 private:
  void MarkDetections();

  AnalysisState& state_;
  Canvas& canvas_;
  Ui& ui_;
  ElectrogramDrawing& drawing_;
};

}  // namespace velmora
