#pragma once

#include <cstdint>
#include <vector>

namespace velmora {

struct AnalysisState;

// "Make Connections": links each mark of a trace to a mark of the next trace of the electrogram
// pane (CurBegin, CurWindow, NrTraces and the trace order), at most ConnectMaxDiff apart. A mark
// connected once is not connected again by later runs.
class ConnectionMaking {
 public:
  // Returns how many records were appended.
  static int MakeConnections(AnalysisState& state);
};

}  // namespace velmora
