#pragma once

#include <cstdint>

namespace velmora {

struct AnalysisState;

// The channel that trace `trace` (1-based) of an electrogram pane shows under the current
// trace order, or NoValue when the trace stays empty. Never reads outside the grid or the
// free order list.
int32_t TraceChannel(const AnalysisState& state, int trace);

}  // namespace velmora
