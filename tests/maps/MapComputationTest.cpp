#include <gtest/gtest.h>

#include "core/AnalysisState.h"
#include "maps/MapComputation.h"
#include "maps/MapFixture.h"
#include "maps/MapMenuCommands.h"
#include "support/ScriptedUi.h"

namespace velmora {
namespace {

using testing::MapFixture;

class MapFillTest : public MapFixture {
 protected:
  void SetUp() override {
    MapFixture::SetUp();
    Place(17, 1, 1);
    Place(18, 2, 1);
    Place(19, 3, 1);
  }
  void Fill(int kind) {
    s->CurMapKind = uint8_t(kind);
    MapComputation::FillMapGrid(*s);
  }
};

TEST_F(MapFillTest, TimeMapTakesTheEarliestMarkRelativeToTheReference) {
  s->ReferenceTime = 1000;
  AddMark(17, kSlowWave, 2500);
  AddMark(17, kSlowWave, 1800);
  AddMark(18, kSlowWave, 3000);
  AddMark(18, kSpike, 1200);  // other kind
  AddMark(19, kSlowWave, 900);  // before the reference
  Fill(0);
  EXPECT_EQ(At(1, 1).Value, 800);
  EXPECT_EQ(At(2, 1).Value, 2000);
  EXPECT_EQ(At(3, 1).Value, kNoValue);
  EXPECT_EQ(s->MapMarkCount, 3);  // 1500 then 800 for 17, 2000 for 18
  EXPECT_EQ(s->MapMinValue, 800);
  EXPECT_EQ(s->MapMaxValue, 2000);
  EXPECT_EQ(s->MapMinTime, 800);
}

TEST_F(MapFillTest, TimeMapOfAllKindsStaysEmptyUnlessSlowWavesAndSpikesAreShown) {
  s->MarkType = {0, 0};
  AddMark(17, kSpike, 500);
  AddMark(18, kType3, 600);
  Fill(0);
  EXPECT_EQ(At(1, 1).Value, kNoValue);
  s->ShowSWsSpikes = true;
  Fill(0);
  EXPECT_EQ(At(1, 1).Value, 500);
  EXPECT_EQ(At(2, 1).Value, kNoValue);  // type 3 is neither
}

TEST_F(MapFillTest, AHiddenMarkIsLeftOutOfTheTimeMapOnly) {
  s->MarkType = {1, 1};
  AddMark(17, kSlowWave, 1000);
  AddMark(17, kSlowWave, 3000);
  const int hidden = AddMark(17, kSlowWave, 2000, 0);
  s->MarkAmplitudes[size_t(hidden - 1)] = AmplitudeRecord{17, 1000, 0, -494, 0, 0, 2.5, 0};
  s->MapBegin = 1500;
  s->MapWindow = 2000;
  Fill(0);
  EXPECT_EQ(At(1, 1).Value, 3000);
  Fill(1);
  EXPECT_EQ(At(1, 1).Value, 2);
  Fill(3);
  EXPECT_EQ(At(1, 1).Value, 2000 - 1000);
  Fill(4);
  EXPECT_DOUBLE_EQ(At(1, 1).Amplitude, 2.0);
  Fill(5);
  EXPECT_DOUBLE_EQ(At(1, 1).Slope, 2.5);
}

TEST_F(MapFillTest, CountMapWindowIsOnTimesAfterTheReference) {
  s->MarkType = {0, 0};
  s->ReferenceTime = 5000;
  s->MapBegin = 0;
  s->MapWindow = 1000;
  AddMark(17, kSlowWave, 5000);
  AddMark(17, kSpike, 6000);
  AddMark(17, kSpike, 6001);  // 1001 after the reference
  AddMark(17, kSlowWave, 500);
  Fill(1);
  EXPECT_EQ(At(1, 1).Value, 2);
  EXPECT_EQ(At(2, 1).Value, 0);  // an electrode without marks counts 0
  s->MarkType = {2, 2};
  Fill(1);
  EXPECT_EQ(At(1, 1).Value, 1);
}

TEST_F(MapFillTest, ElectrodeMapShowsTheChannelAndKeepsExcludedCells) {
  At(2, 1).Value = kAltNoValue;
  Fill(2);
  EXPECT_EQ(At(1, 1).Value, 17);
  EXPECT_EQ(At(2, 1).Value, kAltNoValue);
  EXPECT_EQ(At(3, 1).Value, 19);
  EXPECT_EQ(At(4, 1).Value, kNoValue);  // no electrode: not touched
}

TEST_F(MapFillTest, IntervalMapNeedsAnEarlierMarkOfTheSameKind) {
  s->MapBegin = 7000;
  s->MapWindow = 1000;
  AddMark(17, kSlowWave, 7500);
  AddMark(17, kSpike, 7000);  // other kind: not a previous mark
  AddMark(18, kSlowWave, 7200);
  AddMark(18, kSlowWave, 1000);
  AddMark(18, kSlowWave, 6000);
  Fill(3);
  EXPECT_EQ(At(1, 1).Value, kNoValue);
  EXPECT_EQ(At(2, 1).Value, 1200);
  EXPECT_EQ(MapComputation::PreviousMarkTime(*s, 18, 7200), 6000);
  EXPECT_EQ(MapComputation::PreviousMarkTime(*s, 18, 1000), kNoValue);
}

TEST_F(MapFillTest, IntervalLimitShows6000AndDrops6001) {
  s->LimitIntervals = true;
  s->MaxIntervalValue = 6000;
  AddMark(17, kSlowWave, 1000);
  AddMark(17, kSlowWave, 7000);
  AddMark(18, kSlowWave, 1000);
  AddMark(18, kSlowWave, 7001);
  s->MapBegin = 6500;
  s->MapWindow = 1000;
  Fill(3);
  EXPECT_EQ(At(1, 1).Value, 6000);
  EXPECT_EQ(At(2, 1).Value, kNoValue);
  s->LimitIntervals = false;
  Fill(3);
  EXPECT_EQ(At(2, 1).Value, 6001);
}

TEST_F(MapFillTest, AmplitudeAndSlopeTakeTheLaterMarkAndValidRecordsOnly) {
  const int first = AddMark(17, kSlowWave, 1000);
  const int second = AddMark(17, kSlowWave, 2000);
  const int invalid = AddMark(18, kSlowWave, 2000);
  s->MarkAmplitudes[size_t(first - 1)] = AmplitudeRecord{17, 747, 0, 0, 0, 0, 1.0, 0};
  s->MarkAmplitudes[size_t(second - 1)] = AmplitudeRecord{17, 1000, 0, -1241, 0, 0, -4.0, 0};
  s->MarkAmplitudes[size_t(invalid - 1)].Electrode = kNoValue;
  Fill(4);
  EXPECT_DOUBLE_EQ(At(1, 1).Amplitude, 3.0);
  EXPECT_EQ(At(2, 1).Amplitude, double(kNoValue));
  Fill(5);
  EXPECT_DOUBLE_EQ(At(1, 1).Slope, -4.0);
  s->MarkType = {2, 2};  // only slow waves have amplitudes
  Fill(4);
  EXPECT_EQ(At(1, 1).Amplitude, double(kNoValue));
}

TEST_F(MapFillTest, ExpandedCellsKeepTheirValueUntilTheFlagsAreRemoved) {
  At(1, 1).Value = 400;
  At(1, 1).Expanded = 1;
  Fill(0);
  EXPECT_EQ(At(1, 1).Value, 400);
  testing::ScriptedUi ui;
  EXPECT_TRUE(MapMenuCommands::RemoveExpand(*s, ui));
  EXPECT_EQ(ui.beeps, 1);
  Fill(0);
  EXPECT_EQ(At(1, 1).Value, kNoValue);
}

TEST_F(MapFillTest, ASixtyFourColumnLayoutMapsInFull) {
  s->NrCols = 64;
  s->NrRows = 4;
  Place(200, 64, 4);
  AddMark(200, kSlowWave, 1234);
  Fill(0);
  EXPECT_EQ(At(64, 4).Value, 1234);
  EXPECT_EQ(MapComputation::ChannelAt(*s, 64, 4), 200);
  At(63, 4).Value = kNoValue;
  At(64, 3).Value = kNoValue;
  s->NrNeighbours = 1;
  s->NrExpandCycles = 1;
  MapComputation::ExpandMapGrid(*s);
  EXPECT_EQ(At(63, 4).Value, 1234);
  EXPECT_EQ(At(63, 4).Expanded, 1);
}

TEST_F(MapFillTest, NothingIsFilledBeforeAMatrixIsLoaded) {
  s->NrCols = 0;
  s->NrRows = 0;
  AddMark(17, kSlowWave, 100);
  Fill(0);
  EXPECT_EQ(At(1, 1).Value, kNoValue);
  s->NrNeighbours = 0;
  MapComputation::ExpandMapGrid(*s);
  EXPECT_EQ(At(1, 1).Value, kNoValue);
  EXPECT_EQ(MapComputation::ChannelAt(*s, 1, 1), std::nullopt);
}

TEST_F(MapFillTest, ChannelAtGivesTheHighestChannelOfACell) {
  Place(30, 1, 1);
  EXPECT_EQ(MapComputation::ChannelAt(*s, 1, 1), 30);
  EXPECT_EQ(MapComputation::ChannelAt(*s, 4, 3), kNoValue);
  EXPECT_EQ(MapComputation::ChannelAt(*s, 5, 1), std::nullopt);
  EXPECT_EQ(MapComputation::ChannelAt(*s, 0, 1), std::nullopt);
}

class ExpansionTest : public MapFixture {
 protected:
  void SetUp() override {
    MapFixture::SetUp();
    s->NrCols = 3;
    s->NrRows = 3;
    s->NrNeighbours = 3;
    s->NrExpandCycles = 1;
  }
};

TEST_F(ExpansionTest, ThreeValidNeighboursFillACellTwoDoNot) {
  At(2, 1).Value = 100;
  At(1, 2).Value = 200;
  At(3, 2).Value = 301;
  At(2, 3).Value = kAltNoValue;  // does not count
  MapComputation::ExpandMapGrid(*s);
  EXPECT_EQ(At(2, 2).Value, 200);  // 601 div 3
  EXPECT_EQ(At(2, 2).Expanded, 1);
  EXPECT_EQ(At(1, 1).Value, kNoValue);  // two neighbours
  EXPECT_EQ(At(1, 1).Expanded, 0);
}

TEST_F(ExpansionTest, ACellFilledEarlierInACycleCountsForLaterCells) {
  s->NrNeighbours = 2;
  At(1, 2).Value = 10;
  At(2, 1).Value = 20;
  At(3, 2).Value = 31;
  // (1,1) fills from (2,1) and (1,2) = 15; (2,2) then has 20, 10, 31 -> 20.
  MapComputation::ExpandMapGrid(*s);
  EXPECT_EQ(At(1, 1).Value, 15);
  EXPECT_EQ(At(2, 2).Value, 20);
}

TEST_F(ExpansionTest, NegativeValuesAverageTowardZero) {
  s->NrNeighbours = 2;
  At(2, 1).Value = -1;
  At(1, 2).Value = -2;
  MapComputation::ExpandMapGrid(*s);
  EXPECT_EQ(At(1, 1).Value, -1);  // -3 div 2 truncates toward zero
}

TEST_F(ExpansionTest, ANeighbourSettingOfZeroNeedsOneValue) {
  s->NrNeighbours = 0;
  MapComputation::ExpandMapGrid(*s);
  EXPECT_EQ(At(2, 2).Value, kNoValue);
  EXPECT_EQ(At(2, 2).Expanded, 0);
  At(1, 1).Value = 7;
  MapComputation::ExpandMapGrid(*s);
  EXPECT_EQ(At(2, 1).Value, 7);
}

TEST_F(ExpansionTest, InterpolationAtTheRightEdgeUsesOnlyCellsInsideTheGrid) {
  Place(20, 3, 2);
  At(2, 1).Value = 100;
  At(2, 2).Value = 200;
  At(2, 3).Value = 300;
  At(4, 2).Value = 10000;  // outside the used columns
  At(3, 1).Value = kAltNoValue;
  testing::ScriptedUi ui;
  MapComputation::InterpolateElectrode(*s, 20, ui);
  EXPECT_EQ(At(3, 2).Value, 200);
  EXPECT_EQ(At(3, 2).Expanded, 1);
  ASSERT_EQ(ui.log.size(), 2u);
  EXPECT_EQ(ui.log[0], " valid = 3");
  EXPECT_EQ(ui.log[1], " newtim = 200");
}

TEST_F(ExpansionTest, InterpolationWithTooFewNeighboursChangesNothing) {
  Place(20, 3, 2);
  At(2, 1).Value = 100;
  At(2, 2).Value = 200;
  testing::ScriptedUi ui;
  MapComputation::InterpolateElectrode(*s, 20, ui);
  EXPECT_EQ(At(3, 2).Value, kNoValue);
  EXPECT_TRUE(ui.log.empty());
  At(3, 2).Value = 5;  // a cell with a value is left alone
  At(2, 3).Value = 300;
  MapComputation::InterpolateElectrode(*s, 20, ui);
  EXPECT_EQ(At(3, 2).Value, 5);
}

TEST(MapMenuCommandsTest, ExpandMapRedrawsOnlyWhenTurnedOn) {
  AnalysisState s;
  SetDefaults(s);
  EXPECT_FALSE(s.ExpandMap);
  EXPECT_TRUE(MapMenuCommands::ToggleExpandMap(s));
  EXPECT_TRUE(s.ExpandMap);
  EXPECT_FALSE(MapMenuCommands::ToggleExpandMap(s));
  EXPECT_FALSE(s.ExpandMap);
  const bool before = s.ShowSWsSpikes;
  EXPECT_TRUE(MapMenuCommands::ToggleSWsSpikes(s));
  EXPECT_NE(s.ShowSWsSpikes, before);
}

TEST(MapMenuCommandsTest, RemoveExpandClearsTheWholeGrid) {
  AnalysisState s;
  s.Cell(100, 100).Expanded = 1;
  s.Cell(1, 1).Expanded = 1;
  testing::ScriptedUi ui;
  MapMenuCommands::RemoveExpand(s, ui);
  EXPECT_EQ(s.Cell(100, 100).Expanded, 0);
  EXPECT_EQ(s.Cell(1, 1).Expanded, 0);
}

}  // namespace
}  // namespace velmora
