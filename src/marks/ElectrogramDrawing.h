#pragma once

#include <cstdint>
#include <vector>

#include "core/Canvas.h"

namespace velmora {

struct AnalysisState;

// Draws an electrogram pane: traces in the current trace order, their marks with times and
// intervals, amplitude bars, base lines, the time grid and the scale bar. Keep one per pane:
// its buffers are reused from one redraw to the next.
class ElectrogramDrawing {
 public:
  ElectrogramDrawing(AnalysisState& state, Canvas& canvas);

  // The plain electrogram pane, laid out from PaneWidth/PaneHeight and CurBegin/CurWindow.
  void DrawElectrograms();

  void ClearPane();
  void DrawBaselines();
  // Draws trace `trace` of `channel` (nothing for NoValue) and sets SignalMean to its offset.
  // Returns the x and value (after the offset) of every sample taken, for callers that look
  // for events along the trace.
  void DrawTrace(int trace, int32_t channel);
  void DrawTraceMarks(int trace, int32_t channel);
  void DrawMark(int trace, int origin, int kind, int32_t interval, int32_t time);
  void DrawAmplitudes(int trace, int32_t channel);
  void DrawChannelLabel(int trace, int32_t channel);

  // The samples the last DrawTrace took after its first point: sample numbers and the values
  // drawn (after the offset).
  const std::vector<int32_t>& TakenSamples() const { return takenSamples_; }
  const std::vector<double>& TakenValues() const { return takenValues_; }

 private:
  double SampleValue(int32_t sample, int32_t channel) const;
  double Offset(int32_t channel) const;
  void IndexMarksByElectrode();
  void DrawPoints();

  AnalysisState& state_;
  Canvas& canvas_;
  std::vector<Point> points_;
  std::vector<int32_t> takenSamples_;
  std::vector<double> takenValues_;
  // Mark numbers grouped by electrode: those of electrode e are markOrder_[start_[e] .. start_[e + 1]).
  std::vector<int32_t> markOrder_;
  std::vector<int32_t> markStart_;
};

}  // namespace velmora
