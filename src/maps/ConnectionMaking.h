#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace velmora {

struct AnalysisState;

// "Make Connections": links each mark of a trace to a mark of the next trace of the electrogram
// pane (CurBegin, CurWindow, NrTraces and the trace order), at most ConnectMaxDiff apart. A mark
// connected once is not connected again by later runs.
class ConnectionMaking {
 public:
  ConnectionMaking();
  ~ConnectionMaking();

  // Returns how many records were appended. Keep one maker for repeated runs: its buffers are
  // reused.
  int MakeConnections(AnalysisState& state);

 private:
  struct Buffers;
  std::unique_ptr<Buffers> buffers_;
};

}  // namespace velmora
