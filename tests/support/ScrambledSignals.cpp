#include "support/ScrambledSignals.h"

#include <cstdint>

namespace velmora::testing {

namespace {

int32_t Scrambled(int row, int column) {
  uint32_t h = uint32_t(row) * 2246822519u ^ uint32_t(column) * 3266489917u;
  h ^= h >> 15;
  h *= 0x85ebca6bu;
  h ^= h >> 13;
  return int32_t(h % 65536) - 32768;
}

}  // namespace

void FillScrambledSignals(AnalysisState& state) {
  for (int row = 0; row < kStartSignalRows; ++row)
    for (int column = 0; column < kChannels; ++column)
      state.Signals[size_t(row) * kChannels + size_t(column)] = Scrambled(row, column);
  state.SignalsChanged();
}

}  // namespace velmora::testing
