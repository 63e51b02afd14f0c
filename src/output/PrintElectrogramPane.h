#pragma once

#include <cstdint>
#include <vector>

#include "core/Canvas.h"
#include "output/PrintLayout.h"

namespace velmora {

struct AnalysisState;

// An electrogram pane on paper: a time axis under the traces, channel numbers beside them,
// the traces with their baselines taken out, and their marks, mark times, intervals and
// connections. Reads CurBegin and CurWindow as the page has set them.
class PrintElectrogramPane {
 public:
  // The pane's scales, in printer units.
  struct Size {
    int32_t start = 0, end = 0;  // sample rows start .. end - 1 are drawn
    double xs = 0;               // units per sample
    double bh = 0;               // band height of one trace
    int plotWidth = 0, plotHeight = 0;
  };

  PrintElectrogramPane(AnalysisState& state, Canvas& canvas, const PrintLayout& layout)
      : state_(state), canvas_(canvas), layout_(layout) {}

  void Print(const PrintPane& pane);

  // Nothing to draw (plotHeight 0) without traces, a window or a sampling frequency.
  static Size CalcPrintElgSize(const AnalysisState& state, int printWidth, int paneHeight);
  // The time between two labels of the axis, in samples, for a window of `window` ms.
  static int TimeStep(int32_t window);
  // The centre line of trace `trace` (1-based).
  static int TraceCentre(const Size& size, int paneTop, int trace);

 private:
  void PrintElgGrid(const PrintPane& pane);
  void PrintChannelLabels(const PrintPane& pane);
  void PrintElectrograms(const PrintPane& pane);
  void PrintOneSignal(int32_t channel, int centre);
  void PrintMarks(int32_t channel, int centre);
  void PrintOneMark(int origin, int kind, int32_t sample, int32_t time, int32_t interval, int centre);
  void PrintConnections(const PrintPane& pane, int trace, int32_t channel);

  AnalysisState& state_;
  Canvas& canvas_;
  const PrintLayout& layout_;
  Size size_;
  std::vector<Point> points_;
};

}  // namespace velmora
