#include "maps/ChannelMarkLists.h"

#include <algorithm>
#include <climits>
#include <utility>

#include "core/AnalysisState.h"

namespace velmora {

namespace {

// Lines of 64 bytes; lists whose starts lie a multiple of 4096 bytes apart would compete for
// the same cache sets while the store is scattered into them.
constexpr size_t kEntriesPerLine = 64 / sizeof(ChannelMarkLists::Entry);
constexpr size_t kEntriesPerPage = 4096 / sizeof(ChannelMarkLists::Entry);

size_t RoundUpToLine(size_t entries) { return (entries + kEntriesPerLine - 1) / kEntriesPerLine * kEntriesPerLine; }

// Room for the marks counted now and for some added before the next gathering.
size_t Capacity(int32_t count) { return size_t(count) + size_t(count) / 8 + 16; }

}  // namespace

void ChannelMarkLists::Gather(const AnalysisState& s, const std::vector<int32_t>& channels, int64_t begin,
                              int64_t end) {
  std::vector<int32_t> distinct = channels;
  std::sort(distinct.begin(), distinct.end());
  distinct.erase(std::unique(distinct.begin(), distinct.end()), distinct.end());
  if (wanted_.empty() || distinct != channels_) {
    channels_ = std::move(distinct);
    wanted_.assign(kChannels + 1, 0);
    for (int32_t channel : channels_) wanted_[size_t(channel)] = 1;
    LayOut(Count(s, begin, end));
  }
  if (Scatter(s, begin, end)) return;
  LayOut(Count(s, begin, end));
  Scatter(s, begin, end);  // fits: laid out for exactly these marks
}

std::vector<int32_t> ChannelMarkLists::Count(const AnalysisState& s, int64_t begin, int64_t end) const {
  std::vector<int32_t> counts(kChannels + 1, 0);
  const MarkRecord* store = s.Marks.data();
  for (int i = 0, count = s.MarkCount; i < count; ++i) {
    const MarkRecord& mark = store[i];
    if (mark.Electrode <= kChannels && wanted_[mark.Electrode] && mark.Time >= begin && mark.Time <= end)
      ++counts[mark.Electrode];
  }
  return counts;
}

void ChannelMarkLists::LayOut(const std::vector<int32_t>& counts) {
  start_.assign(kChannels + 1, 0);
  end_.assign(kChannels + 1, 0);
  limit_.assign(kChannels + 1, 0);
  // Large blocks, the store's among them, start at the same place in a page; half a page in,
  // the first list does not shadow the store's first records.
  size_t next = kEntriesPerPage / 2;
  for (int32_t channel : channels_) {
    start_[size_t(channel)] = int32_t(next);
    limit_[size_t(channel)] = int32_t(next + Capacity(counts[size_t(channel)]));
    // One slot beyond the limit for the end mark, rounded to a line, and a line more when the
    // next list would start on the same place in a page.
    size_t length = RoundUpToLine(Capacity(counts[size_t(channel)]) + 1);
    if (length % kEntriesPerPage == 0) length += kEntriesPerLine;
    next += length;
  }
  if (entries_.size() < next) entries_.resize(next);
}

bool ChannelMarkLists::Scatter(const AnalysisState& s, int64_t begin, int64_t end) {
  // Where each channel's next mark goes and where its room ends, side by side so one look
  // answers both. A channel not asked for has no room, which keeps its marks off the common
  // path.
  struct Slot {
    int32_t next, limit;
  };
  Slot slots[kChannels + 1];
  for (size_t c = 0; c <= kChannels; ++c) slots[c] = {start_[c], wanted_[c] != 0 ? limit_[c] : start_[c]};
  const uint8_t* const wanted = wanted_.data();
  Entry* const entries = entries_.data();
  const MarkRecord* store = s.Marks.data();
  for (int i = 0, count = s.MarkCount; i < count; ++i) {
    const MarkRecord& mark = store[i];
    const int32_t time = mark.Time;
    if (mark.Electrode > kChannels || time < begin || time > end) continue;
    Slot& slot = slots[mark.Electrode];
    if (slot.next == slot.limit) {
      if (wanted[mark.Electrode] == 0) continue;
      return false;
    }
    entries[slot.next++] = {time, mark.Connected != 0 ? -(i + 1) : i + 1};
  }
  for (size_t c = 0; c <= kChannels; ++c) end_[c] = slots[c].next;
  for (int32_t channel : channels_) entries[end_[size_t(channel)]] = {INT32_MAX, 0};
  return true;
}

}  // namespace velmora
