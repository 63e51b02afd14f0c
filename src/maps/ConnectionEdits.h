#pragma once

#include <cstdint>
#include <utility>

#include "core/ConnectionRecord.h"

namespace velmora {

struct AnalysisState;

// Changes to the connection table: appending, and the connection keys over an electrogram pane
// (1, 2, Z, Y, F), which act at PointerChannel and PointerTime.
class ConnectionEdits {
 public:
  // Appends a record unless the table is full. Returns whether it was appended.
  static bool AppendConnection(AnalysisState& state, const ConnectionRecord& record);

  // Key 1: the pointer's channel becomes the first end, with the last mark (store order) of
  // that channel less than 500 ms from the pointer time, or NoValue.
  static void SelectFirstEnd(AnalysisState& state);
  // Key 2: the pointer's channel becomes the second end; each of its marks less than 500 ms
  // from the pointer time is connected to the first end, when that has a time. Returns how
  // many records were appended.
  static int SelectSecondEnd(AnalysisState& state);
  // Key Z: deletes the records of `channel` whose time span strictly contains `time`.
  static void DeleteConnectionsAtTime(AnalysisState& state, int32_t channel, int32_t time);
  // Keys Y and F connect or disconnect a pair of neighbouring channels: the pointer's channel
  // and the one above it when the pointer is in the upper half of its trace band, else the
  // one below. The pair becomes ConnectFirstChannel and ConnectSecondChannel.
  static std::pair<int32_t, int32_t> ChoosePair(AnalysisState& state);
  // Key Y: connects a mark of `first` to a later mark of `second`, both less than 3000 ms
  // from `time`; the last such pair in store order wins. Returns whether a record was added.
  static bool ConnectAroundTime(AnalysisState& state, int32_t first, int32_t second, int32_t time);
  // Key F: deletes the records that span the pair or lie within it.
  static void DeleteConnectionsBetween(AnalysisState& state, int32_t first, int32_t second);
};

}  // namespace velmora
