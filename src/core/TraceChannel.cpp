#include "core/TraceChannel.h"

#include "core/AnalysisState.h"

namespace velmora {

namespace {

int32_t GridChannel(const AnalysisState& s, int64_t col, int64_t row) {
  if (col < 1 || col > kMaxGridCols || row < 1 || row > kMaxGridRows) return kNoValue;
  return s.GridCell(int(col), int(row));
}

int32_t RawTraceChannel(const AnalysisState& s, int trace) {
  switch (s.TraceOrder) {
    case 0:
      return int32_t(int64_t(s.FirstChannel) + trace - 1);
    case 1:
      return GridChannel(s, int64_t(s.FirstCol) + trace - 1, s.FirstRow);
    case 2:
      return GridChannel(s, s.FirstCol, int64_t(s.FirstRow) + trace - 1);
    case 3:
      if (trace < 1 || trace > kChannels) return kNoValue;
      return s.FreeOrderList[size_t(trace - 1)];
    case 6:
      return int32_t(int64_t(s.FirstChannel) - trace + 1);
    default:
      return kNoValue;
  }
}

}  // namespace

int32_t TraceChannel(const AnalysisState& state, int trace) {
  const int32_t channel = RawTraceChannel(state, trace);
  return (channel >= 1 && channel <= kChannels) ? channel : kNoValue;
}

}  // namespace velmora
