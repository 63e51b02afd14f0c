#include <gtest/gtest.h>

#include <memory>

#include "core/AnalysisState.h"
#include "core/TraceChannel.h"

namespace velmora {
namespace {

class TraceChannelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // A 3 x 2 grid: 17 18 19 / 20 -1 22.
    s->GridCell(1, 1) = 17;
    s->GridCell(2, 1) = 18;
    s->GridCell(3, 1) = 19;
    s->GridCell(1, 2) = 20;
    s->GridCell(3, 2) = 22;
  }
  std::unique_ptr<AnalysisState> s = std::make_unique<AnalysisState>();
};

TEST_F(TraceChannelTest, SequentialCountsUpFromTheFirstChannel) {
  s->TraceOrder = 0;
  s->FirstChannel = 250;
  EXPECT_EQ(TraceChannel(*s, 1), 250);
  EXPECT_EQ(TraceChannel(*s, 7), 256);
  EXPECT_EQ(TraceChannel(*s, 8), kNoValue);  // 257
}

TEST_F(TraceChannelTest, OppositeCountsDownAndStopsBelowChannelOne) {
  s->TraceOrder = 6;
  s->FirstChannel = 17;
  EXPECT_EQ(TraceChannel(*s, 1), 17);
  EXPECT_EQ(TraceChannel(*s, 17), 1);
  EXPECT_EQ(TraceChannel(*s, 18), kNoValue);  // channel 0
}

TEST_F(TraceChannelTest, HorizontalWalksAlongARow) {
  s->TraceOrder = 1;
  s->FirstCol = 1;
  s->FirstRow = 2;
  EXPECT_EQ(TraceChannel(*s, 1), 20);
  EXPECT_EQ(TraceChannel(*s, 2), kNoValue);  // empty cell (-1)
  EXPECT_EQ(TraceChannel(*s, 3), 22);
}

TEST_F(TraceChannelTest, VerticalWalksDownAColumn) {
  s->TraceOrder = 2;
  s->FirstCol = 3;
  s->FirstRow = 1;
  EXPECT_EQ(TraceChannel(*s, 1), 19);
  EXPECT_EQ(TraceChannel(*s, 2), 22);
}

TEST_F(TraceChannelTest, NeverReadsOutsideTheGrid) {
  s->TraceOrder = 1;
  s->FirstCol = 98;
  s->FirstRow = 1;
  s->GridCell(100, 1) = 30;
  EXPECT_EQ(TraceChannel(*s, 3), 30);
  EXPECT_EQ(TraceChannel(*s, 4), kNoValue);    // column 101
  EXPECT_EQ(TraceChannel(*s, 500), kNoValue);  // far beyond
  s->TraceOrder = 2;
  s->FirstCol = 0;  // left of the grid
  EXPECT_EQ(TraceChannel(*s, 1), kNoValue);
  s->FirstCol = 1;
  s->FirstRow = -5;
  EXPECT_EQ(TraceChannel(*s, 1), kNoValue);
}

TEST_F(TraceChannelTest, GridCellZeroGivesNoChannel) {
  s->GridCell(2, 2) = 0;
  s->TraceOrder = 1;
  s->FirstRow = 2;
  EXPECT_EQ(TraceChannel(*s, 2), kNoValue);
}

TEST_F(TraceChannelTest, FreeOrderUsesTheListAndItsEmptySlots) {
  s->TraceOrder = 3;
  s->FreeOrderList[0] = 40;
  EXPECT_EQ(TraceChannel(*s, 1), 40);
  EXPECT_EQ(TraceChannel(*s, 2), kNoValue);
  EXPECT_EQ(TraceChannel(*s, 257), kNoValue);
  EXPECT_EQ(TraceChannel(*s, 0), kNoValue);
}

}  // namespace
}  // namespace velmora
