#pragma once

#include <cstdint>

namespace velmora {

// A link from a mark on one channel to a mark on another, drawn as an arrow across the
// electrogram traces.
struct ConnectionRecord {
  int32_t FromChannel = 0;  // below 1: a deleted record, neither drawn nor saved
  int32_t FromTime = 0;
  int32_t ToChannel = 0;
  int32_t ToTime = 0;
  int16_t Direction = 0;  // 1: the arrow runs from the first mark to the second; -1 the other way
  bool operator==(const ConnectionRecord&) const = default;
};

// Slots of the connection table; the last one is never used, so at most 2999 records are held.
inline constexpr int kConnectionSlots = 3000;
inline constexpr int kMaxConnections = kConnectionSlots - 1;

}  // namespace velmora
