#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "core/Canvas.h"
#include "core/Limits.h"
#include "marks/SignalWindowSums.h"
#include "marks/TraceColumnSpans.h"
#include "marks/TraceSampleGather.h"

namespace velmora {

struct AnalysisState;

// Draws an electrogram pane: traces in the current trace order, their marks with times and
// intervals, amplitude bars, base lines, the time grid and the scale bar. Keep one per pane:
// its buffers and the window sums its offsets come from are reused from one redraw to the next.
class ElectrogramDrawing {
 public:
  ElectrogramDrawing(AnalysisState& state, Canvas& canvas);

  // The plain electrogram pane, laid out from PaneWidth/PaneHeight and CurBegin/CurWindow.
  void DrawElectrograms();

  void ClearPane();
  void DrawBaselines();
  // Draws trace `trace` of `channel` (nothing for NoValue) and sets SignalMean to its offset.
  void DrawTrace(int trace, int32_t channel);
  void DrawTraceMarks(int trace, int32_t channel);
  void DrawMark(int trace, int32_t electrode, int origin, int kind, int32_t interval, int32_t time);
  void DrawAmplitudes(int trace, int32_t channel);
  void DrawChannelLabel(int trace, int32_t channel);
  // Writes the time label at (x, y); returns where it ends.
  int DrawTimeLabel(int x, int y, int32_t electrode, int32_t time);

  // Keep the samples DrawTrace takes (for a caller that looks for events along a trace).
  void KeepTakenSamples(bool keep) { keepTaken_ = keep; }
  // The samples the last DrawTrace took after its first point, while kept: sample numbers
  // and the values drawn (after the offset).
  const std::vector<int32_t>& TakenSamples() const { return takenSamples_; }
  const std::vector<double>& TakenValues() const { return takenValues_; }

 private:
  int BelowRuler(int y);
  double Offset(int32_t channel);
  int DecimationStep() const;
  bool DrawsSpans() const;
  int WindowCount() const;
  int Neighbour(int column) const;
  void PrepareTakenX();
  void ReadSingleTrace(int32_t channel);
  void KeepTaken(const int32_t* values, double offset);
  // The offsets and drawn values of all traces: the values from the rows the traces take,
  // each read once for all traces, and the offsets from the window sums of their channels.
  void PrepareTraces();
  void ReadTakenRows();
  TraceSampleGather::Source TraceSource(int32_t channel) const;
  void ReadTaken(const std::vector<TraceSampleGather::Source>& sources, int32_t* values) const;
  void PrepareOffsets();
  void AddTraceColumns(int column, SignalWindowSums::Columns& columns) const;
  int64_t TraceSum(const std::array<int64_t, kChannels>& sums, int column) const;
  void IndexMarksByElectrode();
  void DrawPoints();

  AnalysisState& state_;
  Canvas& canvas_;
  SignalWindowSums windowSums_;  // kept from one redraw to the next
  TraceColumnSpans spans_;       // so are the block extremes of the traces shown
  std::vector<Point> points_;
  std::vector<int32_t> takenSamples_;
  std::vector<double> takenValues_;
  // Mark numbers grouped by electrode: those of electrode e are markOrder_[start_[e] .. start_[e + 1]).
  std::vector<int32_t> markOrder_;
  std::vector<int32_t> markStart_;
  std::vector<int32_t> traceChannels_;
  std::vector<int> shownMarks_;           // the marks of the trace being drawn, by time
  int64_t labelFreeFrom_ = 0;             // where the next time label on that trace may begin
  std::vector<double> traceOffsets_;  // per trace while a full pane is drawn, else empty
  std::vector<int32_t> traceValues_;  // the samples each trace takes, trace by trace
  std::vector<int> activeTraces_;     // traces (0-based) that show a channel
  std::vector<int> valueSlot_;        // per trace, its place among those, -1 for none
  std::vector<TraceSampleGather::Source> sources_;  // per place, where its values come from
  // What the x of the taken samples follow from.
  struct TakenXLayout {
    int step = 0, taken = -1, traceLeft = 0;
    double sampleWidth = 0;
    bool operator==(const TakenXLayout&) const = default;
  };
  int takenPerTrace_ = 0;
  std::vector<int> takenX_;            // x of each taken sample, shared by the traces
  TakenXLayout takenXLayout_;          // of takenX_
  std::vector<int32_t> singleValues_;  // a trace drawn on its own
  double singleOffset_ = 0;
  bool keepTaken_ = false;
};

}  // namespace velmora
