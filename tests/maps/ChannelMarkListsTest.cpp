#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <tuple>
#include <vector>

#include "core/AnalysisState.h"
#include "maps/ChannelMarkLists.h"

namespace velmora {
namespace {

using Listed = std::pair<int32_t, int32_t>;  // time, number

class ChannelMarkListsTest : public ::testing::Test {
 protected:
  void Add(int32_t channel, int32_t time, bool connected = false) {
    MarkRecord& mark = s->Mark(++s->MarkCount);
    mark = MarkRecord{};
    mark.Electrode = uint16_t(channel);
    mark.Kind = kSlowWave;
    mark.Time = time;
    mark.Connected = int16_t(connected);
  }
  std::vector<Listed> List(int32_t channel) const {
    std::vector<Listed> listed;
    for (auto* entry = lists.Begin(channel); entry != lists.End(channel); ++entry)
      listed.emplace_back(entry->time, entry->number);
    return listed;
  }
  std::unique_ptr<AnalysisState> s = std::make_unique<AnalysisState>();
  ChannelMarkLists lists;  // one for all gatherings of a test, as its users keep one
};

TEST_F(ChannelMarkListsTest, ListsTheWindowsMarksOfEachChannelInStoreOrder) {
  Add(20, 500);
  Add(21, 100);  // before the window
  Add(20, 100, true);
  Add(22, 300);  // not asked for
  Add(21, 1000);
  Add(20, 1001);  // after the window
  lists.Gather(*s, {21, 20, 21}, 100, 1000);
  EXPECT_EQ(List(20), (std::vector<Listed>{{500, 1}, {100, -3}}));
  EXPECT_EQ(List(21), (std::vector<Listed>{{100, 2}, {1000, 5}}));
  EXPECT_EQ(lists.End(20)->time, INT32_MAX);
  EXPECT_EQ(lists.End(21)->time, INT32_MAX);
}

// Gathering again must see every mark even when the store has grown past the room an earlier
// gathering left, or the channels have changed.
TEST_F(ChannelMarkListsTest, GatheringAgainFollowsAGrownStoreAndOtherChannels) {
  Add(20, 10);
  Add(21, 20);
  lists.Gather(*s, {20, 21}, 0, 100000);
  std::vector<Listed> expected20 = {{10, 1}}, expected21 = {{20, 2}};
  for (int n = 0; n < 3000; ++n) {
    Add(20 + n % 2, 30 + n);
    (n % 2 == 0 ? expected20 : expected21).emplace_back(30 + n, s->MarkCount);
  }
  lists.Gather(*s, {20, 21}, 0, 100000);
  EXPECT_EQ(List(20), expected20);
  EXPECT_EQ(List(21), expected21);
  EXPECT_EQ(lists.End(20)->time, INT32_MAX);
  Add(22, 40);
  lists.Gather(*s, {22, 20}, 0, 100000);
  EXPECT_EQ(List(22), (std::vector<Listed>{{40, s->MarkCount}}));
  EXPECT_EQ(List(20), expected20);
}

}  // namespace
}  // namespace velmora
