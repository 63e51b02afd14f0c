#pragma once

#include <cstdint>

namespace velmora {

struct AnalysisState;
class Canvas;

// The connections on an electrogram pane: magenta arrows from trace to trace, laid out with
// the pane's TraceLeft, TraceTop, TraceHeight, SampleWidth and CurBegin.
class ConnectionDrawing {
 public:
  // Draws the connections that start at `channel`, shown by trace `trace`. The other end is
  // taken to lie (ToChannel - channel) traces further down, as in the sequential order.
  static void DrawConnections(const AnalysisState& state, Canvas& canvas, int trace, int32_t channel);
};

}  // namespace velmora
