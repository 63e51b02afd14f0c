#pragma once

namespace velmora {

struct AnalysisState;
class Canvas;

// Shows on a map which electrodes the electrogram pane shows as traces.
class TraceOutline {
 public:
  // Outlines with 2-pixel black rectangles the map cells (of the current cell size) of the
  // channels shown as traces 1..NrTraces. The caller routes the drawing to the map pane.
  static void OutlineTracesOnMap(const AnalysisState& state, Canvas& canvas);
};

}  // namespace velmora
