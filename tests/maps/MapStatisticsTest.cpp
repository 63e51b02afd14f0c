#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/AnalysisState.h"
#include "maps/MapComputation.h"
#include "maps/MapFixture.h"
#include "maps/MapStatistics.h"
#include "maps/StatisticsText.h"

namespace velmora {
namespace {

using testing::MapFixture;
using Lines = std::vector<std::string>;

class MapStatisticsTest : public MapFixture {
 protected:
  void SetUp() override {
    MapFixture::SetUp();
    Place(17, 1, 1);
    Place(18, 2, 1);
    Place(19, 3, 1);
    s->PlotVelocities = false;
  }
  Lines Run(int kind) {
    s->CurMapKind = uint8_t(kind);
    Lines memo{"old line"};
    stats.CalcMapStats(*s, memo);
    return memo;
  }
  MapStatistics stats;
};

TEST_F(MapStatisticsTest, TimesOfOneHundredTwoHundredThreeHundred) {
  AddMark(17, kSlowWave, 100), AddMark(18, kSlowWave, 200), AddMark(19, kSlowWave, 300);
  s->CurMapKind = 0;
  MapComputation::FillMapGrid(*s);
  EXPECT_EQ(Run(0), (Lines{" ", "Times", " ", "N = 3", "Avg = 200.00", "SD = 81.65", "Max= 300.00", "Min= 100.00"}));
  EXPECT_EQ(stats.Record(1).N, 3);
}

TEST_F(MapStatisticsTest, ACountMapOfZerosCountsEveryElectrodeCell) {
  s->CurMapKind = 1;
  MapComputation::FillMapGrid(*s);
  const Lines memo = Run(1);
  ASSERT_EQ(memo.size(), 8u);
  EXPECT_EQ(memo[1], "Count Map");
  EXPECT_EQ(memo[3], "N = 3");
  EXPECT_EQ(memo[4], "Avg = 0.00");
}

TEST_F(MapStatisticsTest, CellsWithoutAnElectrodeAndExcludedCellsAreNotData) {
  At(1, 1).Value = 100;
  At(2, 1).Value = kAltNoValue;
  At(3, 1).Value = 300;
  At(4, 1).Value = 0;  // no electrode: left over from start-up or expansion
  At(1, 2).Value = 5000;
  const Lines memo = Run(0);
  ASSERT_EQ(memo.size(), 8u);
  EXPECT_EQ(memo[3], "N = 2");
  EXPECT_EQ(memo[4], "Avg = 200.00");
  EXPECT_EQ(memo[7], "Min= 100.00");
}

TEST_F(MapStatisticsTest, LargeValuesAreGroupedAndTheMinimumStartsAt33000) {
  At(1, 1).Value = 40000;
  At(2, 1).Value = 50000;
  const Lines memo = Run(0);
  EXPECT_EQ(memo[4], "Avg = 45,000.00");
  EXPECT_EQ(memo[6], "Max= 50,000.00");
  EXPECT_EQ(memo[7], "Min= 33,000.00");
}

TEST_F(MapStatisticsTest, AmplitudesGoToSlotTwoAndSlopesToSlotThree) {
  At(1, 1).Amplitude = 1.0;
  At(2, 1).Amplitude = 3.0;
  At(3, 1).Slope = -2.5;
  Lines memo = Run(4);
  EXPECT_EQ(memo[1], "Amplitudes");
  EXPECT_EQ(memo[3], "N = 2");
  EXPECT_EQ(stats.Record(2).Mean, 2.0);
  memo = Run(5);
  EXPECT_EQ(memo[1], "Slopes");
  EXPECT_EQ(memo[4], "Avg = -2.50");
  EXPECT_EQ(stats.Record(3).N, 1);
}

TEST_F(MapStatisticsTest, VelocitiesWithoutAnAcceptedSquareShowTheirTitleOnly) {
  At(1, 1).Value = 100;
  s->PlotVelocities = true;
  EXPECT_EQ(Run(0), (Lines{" ", "Times", " ", "N = 1", "Avg = 100.00", "SD = 0.00", "Max= 100.00", "Min= 100.00",
                           "Velocities"}));
}

TEST_F(MapStatisticsTest, TimesAndVelocitiesEachHaveTheirSection) {
  At(1, 1).Value = 100;
  At(2, 1).Value = 300;
  s->PlotVelocities = true;
  s->Square(1, 1).Speed = 12.0;
  s->Square(2, 2).Speed = 18.0;
  EXPECT_EQ(Run(0), (Lines{" ", "Times", " ", "N = 2", "Avg = 200.00", "SD = 100.00", "Max= 300.00", "Min= 100.00",
                           "Velocities", " ", "N = 2", "Avg = 15.00", "SD = 3.00", "Max= 18.00", "Min= 12.00"}));
  EXPECT_EQ(stats.Record(1).N, 2);
  EXPECT_EQ(stats.Record(2).N, 2);
}

TEST_F(MapStatisticsTest, MapsWithoutArrowsHaveNoVelocities) {
  // The velocity grid then holds the squares of some earlier time map.
  At(1, 1).Amplitude = 2.0;
  s->PlotVelocities = true;
  s->Square(1, 1).Speed = 12.0;
  EXPECT_EQ(Run(4), (Lines{" ", "Amplitudes", " ", "N = 1", "Avg = 2.00", "SD = 0.00", "Max= 2.00", "Min= 2.00"}));
  EXPECT_EQ(stats.Record(2).Mean, 2.0);
}

TEST_F(MapStatisticsTest, TheWindowsStatisticsFollowTheirNumbersWithTheUnit) {
  At(1, 1).Value = 100;
  At(2, 1).Value = 300;
  s->PlotVelocities = true;
  s->Square(1, 1).Speed = 12.0;
  MapStatistics shown(MapStatistics::Units::Shown);
  s->CurMapKind = 0;
  Lines memo;
  shown.CalcMapStats(*s, memo);
  EXPECT_EQ(memo, (Lines{" ", "Times", " ", "N = 2", "Avg = 200.00 ms", "SD = 100.00 ms", "Max= 300.00 ms",
                         "Min= 100.00 ms", "Velocities", " ", "N = 1", "Avg = 12.00 cm/s", "SD = 0.00 cm/s",
                         "Max= 12.00 cm/s", "Min= 12.00 cm/s"}));
  s->CurMapKind = 2;  // channel numbers have no unit
  shown.CalcMapStats(*s, memo);
  EXPECT_EQ(memo[4], "Avg = 200.00");
}

TEST_F(MapStatisticsTest, TheVelocityMapHasNoTitleAndTakesTheCellVelocities) {
  At(1, 1).Velocity = 4.0;
  At(2, 1).Velocity = 6.0;
  At(1, 1).Value = 999;
  const Lines memo = Run(6);
  EXPECT_EQ(memo, (Lines{" ", " ", "N = 2", "Avg = 5.00", "SD = 1.00", "Max= 6.00", "Min= 4.00"}));
}

TEST_F(MapStatisticsTest, NoMatrixGivesNoNumbers) {
  s->NrCols = 0;
  s->NrRows = 0;
  At(1, 1).Value = 100;
  EXPECT_EQ(Run(0), (Lines{" ", "Times"}));
}

TEST_F(MapStatisticsTest, ASixtyFourColumnLayoutCountsItsFarColumns) {
  s->NrCols = 64;
  s->NrRows = 60;
  for (int i = 0; i < 4; ++i) Place(100 + i, 61 + i, 60);
  for (int i = 0; i < 4; ++i) At(61 + i, 60).Value = 10 * (i + 1);
  At(1, 1).Value = 50;
  const Lines memo = Run(0);
  EXPECT_EQ(memo[3], "N = 5");
  EXPECT_EQ(memo[4], "Avg = 30.00");
  EXPECT_EQ(memo[6], "Max= 50.00");
  EXPECT_EQ(memo[7], "Min= 10.00");
}

TEST(StatisticsTextTest, GroupsThousandsAndRoundsToSignificantDigits) {
  EXPECT_EQ(GroupedFixed(1500.0, 1, 7), "1,500.0");
  EXPECT_EQ(GroupedFixed(707.10678, 1, 7), "707.1");
  EXPECT_EQ(GroupedFixed(-1234567.25, 2, 9), "-1,234,567.25");
  EXPECT_EQ(GroupedFixed(12345678.91, 2, 9), "12,345,678.90");
  EXPECT_EQ(GroupedFixed(-0.001, 2, 9), "0.00");
}

}  // namespace
}  // namespace velmora
