#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

#include "core/AnalysisState.h"
#include "maps/ConnectionEdits.h"
#include "marks/MarkStore.h"

namespace velmora {
namespace {

using Mark = std::pair<int32_t, int32_t>;  // channel, time

class ConnectionEditsTest : public ::testing::Test {
 protected:
  void Add(const std::vector<Mark>& marks) {
    for (const auto& [channel, time] : marks) {
      s->PointerChannel = channel;
      MarkStore::AddMarkRecord(*s, time, kSlowWave);
    }
  }
  void Point(int32_t channel, int32_t time) {
    s->PointerChannel = channel;
    s->PointerTime = time;
  }
  std::vector<ConnectionRecord> Table() const {
    return {s->Connections.begin(), s->Connections.begin() + s->ConnectionCount};
  }
  std::unique_ptr<AnalysisState> s = std::make_unique<AnalysisState>();
};

TEST_F(ConnectionEditsTest, KeysOneAndTwoJoinTheMarksNearThePointer) {
  Add({{20, 1000}, {20, 1300}, {20, 1500}, {21, 2000}, {21, 2200}, {21, 2600}});
  Point(20, 1001);  // 1500 is exactly 499 away, 1000 one; the last in store order counts
  ConnectionEdits::SelectFirstEnd(*s);
  EXPECT_EQ(s->ConnectFirstTime, 1500);
  Point(21, 2100);  // 2600 is 500 away: too far
  EXPECT_EQ(ConnectionEdits::SelectSecondEnd(*s), 2);
  EXPECT_EQ(Table(), (std::vector<ConnectionRecord>{{20, 1500, 21, 2000, 1}, {20, 1500, 21, 2200, 1}}));
  EXPECT_TRUE(s->ConnectionsChanged);
}

TEST_F(ConnectionEditsTest, KeyTwoWithoutAFirstMarkOnlyTakesTheSecondEnd) {
  Add({{20, 1000}, {21, 2000}});
  Point(20, 3000);
  ConnectionEdits::SelectFirstEnd(*s);
  EXPECT_EQ(s->ConnectFirstTime, kNoValue);
  Point(21, 2000);
  EXPECT_EQ(ConnectionEdits::SelectSecondEnd(*s), 0);
  EXPECT_EQ(s->ConnectSecondChannel, 21);
  EXPECT_EQ(s->ConnectSecondTime, 2000);
  EXPECT_FALSE(s->ConnectionsChanged);
}

TEST_F(ConnectionEditsTest, KeyZDeletesTheRecordsOfTheChannelSpanningTheTime) {
  const std::vector<ConnectionRecord> records = {
      {20, 1000, 21, 1500, 1}, {21, 2000, 22, 1000, -1}, {30, 1000, 31, 1500, 1}, {20, 1200, 21, 1300, 1}};
  for (const auto& r : records) ConnectionEdits::AppendConnection(*s, r);
  s->ConnectionsChanged = false;
  ConnectionEdits::DeleteConnectionsAtTime(*s, 21, 5000);  // outside every span
  EXPECT_EQ(Table(), records);
  EXPECT_FALSE(s->ConnectionsChanged);
  ConnectionEdits::DeleteConnectionsAtTime(*s, 21, 1300);  // 1300 is an end of record 4, not inside
  EXPECT_EQ(s->Connection(1).FromChannel, kNoValue);
  EXPECT_EQ(s->Connection(2).FromChannel, kNoValue);
  EXPECT_EQ(s->Connection(3).FromChannel, 30);
  EXPECT_EQ(s->Connection(4).FromChannel, 20);
  EXPECT_TRUE(s->ConnectionsChanged);
}

TEST_F(ConnectionEditsTest, KeysYAndFTakeTheNeighbourOnTheSideOfThePointer) {
  s->TraceTop = 10;
  s->TraceHeight = 40;
  s->PointerTrace = 2;  // band 50..90, middle 70
  s->PointerChannel = 21;
  s->PointerY = 60;
  EXPECT_EQ(ConnectionEdits::ChoosePair(*s), std::make_pair(20, 21));
  s->PointerY = 75;
  EXPECT_EQ(ConnectionEdits::ChoosePair(*s), std::make_pair(21, 22));
  EXPECT_EQ(s->ConnectFirstChannel, 21);
  EXPECT_EQ(s->ConnectSecondChannel, 22);
}

TEST_F(ConnectionEditsTest, KeyYKeepsTheLastPairAndItsDirection) {
  Add({{20, 1000}, {21, 1500}, {21, 800}, {20, 7000}});
  EXPECT_TRUE(ConnectionEdits::ConnectAroundTime(*s, 20, 21, 1000));
  // (1000, 1500) writes the record; (1000, 800) comes last and turns it round.
  EXPECT_EQ(Table(), (std::vector<ConnectionRecord>{{20, 1000, 21, 1500, -1}}));
}

TEST_F(ConnectionEditsTest, KeyYWithoutAPairInTimeOrderTakesNoSlot) {
  ConnectionEdits::AppendConnection(*s, {20, 1, 21, 2, 1});
  ConnectionEdits::AppendConnection(*s, {25, 1, 26, 2, 1});
  s->ConnectionCount = 1;  // slot 2 still holds an earlier table's record
  Add({{20, 1000}, {21, 900}});
  EXPECT_FALSE(ConnectionEdits::ConnectAroundTime(*s, 20, 21, 1000));
  EXPECT_EQ(s->ConnectionCount, 1);
}

TEST_F(ConnectionEditsTest, KeyFDeletesWhatSpansOrLiesWithinThePair) {
  const std::vector<ConnectionRecord> records = {
      {20, 1, 21, 2, 1}, {19, 1, 23, 2, 1}, {21, 1, 20, 2, 1}, {21, 1, 22, 2, 1}, {18, 1, 19, 2, 1}};
  for (const auto& r : records) ConnectionEdits::AppendConnection(*s, r);
  ConnectionEdits::DeleteConnectionsBetween(*s, 20, 21);
  std::vector<int32_t> from;
  for (const auto& r : Table()) from.push_back(r.FromChannel);
  EXPECT_EQ(from, (std::vector<int32_t>{kNoValue, kNoValue, kNoValue, 21, 18}));
}

TEST_F(ConnectionEditsTest, AppendingStopsAt2999Records) {
  s->ConnectionCount = kMaxConnections - 1;
  EXPECT_TRUE(ConnectionEdits::AppendConnection(*s, {20, 1, 21, 2, 1}));
  EXPECT_FALSE(ConnectionEdits::AppendConnection(*s, {20, 1, 21, 2, 1}));
  EXPECT_EQ(s->ConnectionCount, kMaxConnections);
}

}  // namespace
}  // namespace velmora
