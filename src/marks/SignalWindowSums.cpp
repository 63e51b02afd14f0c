#include "marks/SignalWindowSums.h"

#include <algorithm>

#include "core/AnalysisState.h"

namespace velmora {

SignalWindowSums::SignalWindowSums(const AnalysisState& state) : state_(state) {}

const std::array<int64_t, kChannels>& SignalWindowSums::Sums(int firstRow, int endRow, const Columns& columns) {
  sums_.fill(0);
  firstRow = std::max(firstRow, 0);
  endRow = std::min(endRow, state_.SignalRows());
  if (endRow <= firstRow || columns.none()) return sums_;
  DropIfStale();
  SumWindow(WantedGroups(columns), firstRow, endRow);
  for (int column = 0; column < kChannels; ++column)
    if (!columns[size_t(column)]) sums_[size_t(column)] = 0;
  return sums_;
}

// A window that holds no whole block is read row by row; otherwise its whole blocks come
// from the kept sums and only the rows before the first and after the last are read.
void SignalWindowSums::SumWindow(uint16_t groups, int firstRow, int endRow) {
  const int firstBlock = (firstRow + kRowsPerBlock - 1) / kRowsPerBlock;
  const int endBlock = endRow / kRowsPerBlock;
  if (firstBlock >= endBlock) {
    AddRows(groups, firstRow, endRow);
    return;
  }
  AddRows(groups, firstRow, firstBlock * kRowsPerBlock);
  FillBlocks(groups, firstBlock, endBlock);
  AddBlocks(groups, firstBlock, endBlock);
  AddRows(groups, endBlock * kRowsPerBlock, endRow);
}

uint16_t SignalWindowSums::WantedGroups(const Columns& columns) {
  uint16_t groups = 0;
  for (int column = 0; column < kChannels; ++column)
    if (columns[size_t(column)]) groups = uint16_t(groups | 1u << (column / kColumnsPerGroup));
  return groups;
}

void SignalWindowSums::DropIfStale() {
  const int blocks = state_.SignalRows() / kRowsPerBlock;  // whole blocks only
  if (blocks != blocks_ || filledGroups_.size() != size_t(blocks)) {
    // A store of another size: the kept sums have no place in it.
    blocks_ = blocks;
    filledGroups_.assign(size_t(blocks), 0);
    for (auto& sums : blockSums_) sums.reset();
    version_ = state_.SignalVersion;
  }
  if (version_ == state_.SignalVersion) return;
  std::fill(filledGroups_.begin(), filledGroups_.end(), 0);
  version_ = state_.SignalVersion;
}

void SignalWindowSums::AddRows(uint16_t groups, int firstRow, int endRow) {
  for (int group = 0; group < kGroups; ++group) {
    if (!(groups & 1u << group)) continue;
    int64_t* sums = sums_.data() + group * kColumnsPerGroup;
    const int32_t* row = state_.Signals.data() + size_t(firstRow) * kChannels + group * kColumnsPerGroup;
    for (int r = firstRow; r < endRow; ++r, row += kChannels)
      for (int lane = 0; lane < kColumnsPerGroup; ++lane) sums[lane] += row[lane];
  }
}

void SignalWindowSums::AddBlocks(uint16_t groups, int firstBlock, int endBlock) {
  for (int group = 0; group < kGroups; ++group)
    if (groups & 1u << group) AddGroupBlocks(group, firstBlock, endBlock);
}

void SignalWindowSums::AddGroupBlocks(int group, int firstBlock, int endBlock) {
  int64_t* sums = sums_.data() + group * kColumnsPerGroup;
  for (int run = firstBlock; run < endBlock; run += kBlocksPerRun) {
    int32_t runSums[kColumnsPerGroup] = {};
    for (int block = run; block < std::min(endBlock, run + kBlocksPerRun); ++block) {
      const int32_t* blockSums = BlockSums(group, block);
      for (int lane = 0; lane < kColumnsPerGroup; ++lane) runSums[lane] += blockSums[lane];
    }
    for (int lane = 0; lane < kColumnsPerGroup; ++lane) sums[lane] += runSums[lane];
  }
}

void SignalWindowSums::FillBlocks(uint16_t groups, int firstBlock, int endBlock) {
  MakeGroupSums(groups);
  for (int block = firstBlock; block < endBlock; ++block) {
    const uint16_t missing = uint16_t(groups & ~filledGroups_[size_t(block)]);
    if (missing == 0) continue;
    FillBlock(missing, block);
    filledGroups_[size_t(block)] |= missing;
  }
}

// Room for the block sums of every group in `groups`, 64 bytes a block.
void SignalWindowSums::MakeGroupSums(uint16_t groups) {
  for (int group = 0; group < kGroups; ++group)
    if ((groups & 1u << group) && !blockSums_[size_t(group)])
      blockSums_[size_t(group)] = std::make_unique_for_overwrite<int32_t[]>(size_t(blocks_) * kColumnsPerGroup);
}

// One pass down the block's rows for all the groups it lacks. The rows lie 1 KiB apart, too
// far for the processor to guess, so the same lines of the next block are asked for one block
// ahead.
void SignalWindowSums::FillBlock(uint16_t groups, int block) {
  int firstColumns[kGroups];
  int count = 0;
  for (int group = 0; group < kGroups; ++group)
    if (groups & 1u << group) firstColumns[count++] = group * kColumnsPerGroup;
  int32_t blockSums[kGroups][kColumnsPerGroup] = {};
  const int32_t* row = state_.Signals.data() + size_t(block) * kRowsPerBlock * kChannels;
  const bool nextInStore = (block + 2) * kRowsPerBlock <= state_.SignalRows();
  for (int r = 0; r < kRowsPerBlock; ++r, row += kChannels) {
    for (int g = 0; g < count; ++g) {
      if (nextInStore) __builtin_prefetch(row + kRowsPerBlock * kChannels + firstColumns[g]);
      AddLine(row + firstColumns[g], blockSums[g]);
    }
  }
  for (int g = 0; g < count; ++g)
    std::copy(blockSums[g], blockSums[g] + kColumnsPerGroup, BlockSums(firstColumns[g] / kColumnsPerGroup, block));
}

void SignalWindowSums::AddLine(const int32_t* __restrict line, int32_t* __restrict sums) {
  for (int lane = 0; lane < kColumnsPerGroup; ++lane) sums[lane] += line[lane];
}

int32_t* SignalWindowSums::BlockSums(int group, int block) {
  return blockSums_[size_t(group)].get() + size_t(block) * kColumnsPerGroup;
}

}  // namespace velmora
