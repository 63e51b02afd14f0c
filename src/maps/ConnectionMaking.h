#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace velmora {

struct AnalysisState;
class ChannelMarkLists;

// "Make Connections": links each mark of a trace to a mark of the next trace of the electrogram
// pane (CurBegin, CurWindow, NrTraces and the trace order), at most ConnectMaxDiff apart. A mark
// connected once is not connected again by later runs.
class ConnectionMaking {
 public:
  ConnectionMaking();
  ~ConnectionMaking();

  // Returns how many records were appended. Keep one maker for repeated runs: its buffer is
  // reused.
  int MakeConnections(AnalysisState& state);

 private:
  std::unique_ptr<ChannelMarkLists> lists_;
};

}  // namespace velmora
