#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <memory>
#include <vector>

#include "core/Limits.h"

namespace velmora {

struct AnalysisState;

// Sums of the signal store's columns over a window of rows, for the traces' offsets.
//
// The store is cut into blocks of 64 rows, and a row into groups of 16 columns (one 64-byte
// line). The sum of a group over a block is worked out the first time a window needs it and
// kept, so the sum over a long window costs one addition per block instead of one per row;
// the rows at either end of the window that do not fill a block are read directly. Blocks
// are filled when first needed rather than all at once: the first window then reads no more
// of the store than a plain pass over it would, and groups no trace shows are never read.
//
// Kept sums belong to one AnalysisState::SignalVersion; when the version moves they are all
// dropped and refilled as windows need them, with room for the store's rows as it is then. Sums are exact for samples from -2^18 to 2^18 - 1.
class SignalWindowSums {
 public:
  static constexpr int kRowsPerBlock = 64;
  static constexpr int kColumnsPerGroup = 16;
  using Columns = std::bitset<kChannels>;

  explicit SignalWindowSums(const AnalysisState& state);

  // The sum of every column in `columns` over rows firstRow .. endRow - 1 (0-based), at its
  // column's place in the result; every other entry is 0.
  const std::array<int64_t, kChannels>& Sums(int firstRow, int endRow, const Columns& columns);

 private:
  static constexpr int kGroups = kChannels / kColumnsPerGroup;
  static_assert(kChannels % kColumnsPerGroup == 0 && kGroups <= 16);  // a block's groups fit 16 bits
  // Block sums are added in int32 for at most this many blocks (8,192 rows) before they go
  // into the int64 totals, so any sum of samples from -2^18 to 2^18 - 1 is exact: four times
  // the 16-bit range the store holds.
  static constexpr int kBlocksPerRun = 128;

  static uint16_t WantedGroups(const Columns& columns);
  static void AddLine(const int32_t* line, int32_t* sums);
  void DropIfStale();
  void SumWindow(uint16_t groups, int firstRow, int endRow);
  void AddRows(uint16_t groups, int firstRow, int endRow);
  void AddBlocks(uint16_t groups, int firstBlock, int endBlock);
  void AddGroupBlocks(int group, int firstBlock, int endBlock);
  void FillBlocks(uint16_t groups, int firstBlock, int endBlock);
  void MakeGroupSums(uint16_t groups);
  void FillBlock(uint16_t groups, int block);
  int32_t* BlockSums(int group, int block);

  const AnalysisState& state_;
  uint64_t version_ = 0;
  int blocks_ = 0;  // whole blocks of the store the kept sums were made for
  // Per group, made when first needed: the sums of block b lie at [b * 16, b * 16 + 16), so a
  // window's blocks are read as one stream.
  std::array<std::unique_ptr<int32_t[]>, kGroups> blockSums_;
  std::vector<uint16_t> filledGroups_;  // per block, bit g when group g's sums are kept
  std::array<int64_t, kChannels> sums_{};
};

}  // namespace velmora
