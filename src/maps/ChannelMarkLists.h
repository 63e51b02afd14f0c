#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace velmora {

struct AnalysisState;

// The marks of some channels that lie in a time window, one list per channel in store order,
// gathered in one pass over the mark store. Runs that compare the marks of one channel with
// those of another read these short lists instead of the whole store.
//
// The lists share one buffer, laid out from the counts of an earlier gathering, so a repeated
// gathering over a store that has not grown much writes straight into place. The buffer is
// kept from one gathering to the next: a fresh one of this size costs the system a page
// clearing each time.
class ChannelMarkLists {
 public:
  struct Entry {
    int32_t time;
    int32_t number;  // in the store; negative for a mark that was already connected
  };

  // Gathers the marks of `channels` (each 1..kChannels; repeats allowed) whose time lies in
  // [begin, end].
  void Gather(const AnalysisState& state, const std::vector<int32_t>& channels, int64_t begin, int64_t end);

  // A gathered channel's marks. The slot at End() holds a time above every mark's, so a
  // forward search for a later time needs no bound check.
  const Entry* Begin(int32_t channel) const { return entries_.data() + start_[size_t(channel)]; }
  const Entry* End(int32_t channel) const { return entries_.data() + end_[size_t(channel)]; }

 private:
  bool Scatter(const AnalysisState& state, int64_t begin, int64_t end);
  std::vector<int32_t> Count(const AnalysisState& state, int64_t begin, int64_t end) const;
  void LayOut(const std::vector<int32_t>& counts);

  std::vector<int32_t> channels_;  // those of the current layout, sorted, without repeats
  std::vector<uint8_t> wanted_;    // by channel
  std::vector<int32_t> start_, end_, limit_;  // by channel, as indices into entries_
  std::vector<Entry> entries_;
};

}  // namespace velmora
