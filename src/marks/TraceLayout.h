#pragma once

namespace velmora {

struct AnalysisState;

// Where traces go in an electrogram pane. The same numbers turn pointer positions back into
// traces and times, so every user of the layout takes them from here.
class TraceLayout {
 public:
  static constexpr int kTraceLeft = 30;
  static constexpr int kTraceTop = 10;

  // Sets TraceLeft, TraceTop, TraceAreaBottom, TraceAreaWidth, TraceHeight, the first and
  // last sample drawn and SampleWidth from PaneWidth/PaneHeight and CurBegin/CurWindow.
  static void LayoutTraces(AnalysisState& state);

  // Centre line of trace band `trace` (1-based), and the band's rounded top and bottom.
  static int Centre(const AnalysisState& state, int trace);
  static int BandTop(const AnalysisState& state, int trace);
  static int BandBottom(const AnalysisState& state, int trace);
};

}  // namespace velmora
