#include "waves/WaveMap.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "core/RecordingCanvas.h"
#include "maps/MapColours.h"
#include "maps/MapFixture.h"
#include "support/ScriptedUi.h"
#include "waves/WaveCommands.h"

namespace velmora::testing {
namespace {

// A 4 x 3 grid, channel 17 + (col - 1) * 3 + (row - 1) at every cell.
class WaveMapTest : public MapFixture {
 protected:
  void SetUp() override {
    MapFixture::SetUp();
    for (int col = 1; col <= 4; ++col)
      for (int row = 1; row <= 3; ++row) Place(Channel(col, row), col, row);
    s->FocusA = true;
    s->ElectrodeDistance = 2.5;
  }
  static int Channel(int col, int row) { return 17 + (col - 1) * 3 + (row - 1); }
  void Draw() {
    canvas.Clear();
    waves.MapWave(*s, canvas, 400, 300, ui, {}, {});
  }
  bool HasText(const std::string& text) const {
    const auto& lines = canvas.Lines();
    return std::find(lines.begin(), lines.end(), text) != lines.end();
  }

  WaveMap waves;
  RecordingCanvas canvas;
  ScriptedUi ui;
};

TEST_F(WaveMapTest, StatisticsGiveAreaAndExtentOfTheWave) {
  for (int col = 2; col <= 4; ++col)
    for (int row = 2; row <= 3; ++row) AddMark(Channel(col, row), kSlowWave, 1000 + 10 * col);
  s->ShowStatistics = true;
  Draw();
  EXPECT_TRUE(HasText("text 4 4 Area = 6 (37.5 mm2)"));
  // The test canvas's 7-pixel letters are wider than a pane's font: the area ends at 137, so
  // the next text starts a blank later, at 144, and the last one a blank after that one's end.
  EXPECT_TRUE(HasText("text 144 4 X-size = 3 (7.5 mm)"));
  EXPECT_TRUE(HasText("text 284 4 Y-size = 2 (5.0 mm)"));
  EXPECT_EQ(s->MapTop, 20);
  EXPECT_EQ(waves.Stats().CentreX, 3);
  EXPECT_EQ(waves.Stats().CentreY, 2);
}

TEST_F(WaveMapTest, ShortStatisticsTextsKeepTheirColumns) {
  AddMark(Channel(1, 1), kSlowWave, 1000);
  s->ShowStatistics = true;
  s->ElectrodeDistance = 1;
  Draw();
  EXPECT_TRUE(HasText("text 4 4 Area = 1 (1.0 mm2)"));
  EXPECT_TRUE(HasText("text 140 4 X-size = 1 (1.0 mm)"));
  EXPECT_TRUE(HasText("text 280 4 Y-size = 1 (1.0 mm)"));
}

// A wide spacing makes the area text longer than its column; the next text moves right of it.
TEST_F(WaveMapTest, LongStatisticsTextsDoNotRunIntoEachOther) {
  for (int col = 1; col <= 4; ++col)
    for (int row = 1; row <= 3; ++row) AddMark(Channel(col, row), kSlowWave, 1000 + 10 * col);
  s->ShowStatistics = true;
  s->ElectrodeDistance = 100;
  Draw();
  // 4 + 25 characters of 7 pixels end at 179; a blank later is 186.
  EXPECT_TRUE(HasText("text 4 4 Area = 12 (120,000.0 mm2)"));
  EXPECT_TRUE(HasText("text 186 4 X-size = 4 (400.0 mm)"));
  EXPECT_TRUE(HasText("text 340 4 Y-size = 3 (300.0 mm)"));
}

TEST_F(WaveMapTest, LocalTimesStartTheWaveAtZero) {
  AddMark(Channel(1, 1), kSlowWave, 700);
  AddMark(Channel(2, 1), kSlowWave, 1200);
  AddMark(Channel(2, 2), kSlowWave, 900);
  s->PlotLocalTimes = true;
  Draw();
  EXPECT_EQ(At(1, 1).Value, 0);
  EXPECT_EQ(At(2, 2).Value, 200);
  EXPECT_EQ(At(2, 1).Value, 500);
  EXPECT_EQ(At(3, 1).Value, kNoValue);
}

// A time map drawn earlier over another window must not shift the wave's colours.
TEST_F(WaveMapTest, WaveColoursStartAtTheWavesEarliestTime) {
  AddMark(Channel(1, 1), kSlowWave, 30700);
  AddMark(Channel(2, 1), kSlowWave, 30900);
  s->MapMinTime = 2000;
  Draw();
  EXPECT_EQ(MapColours::ColourIndex(*s, At(1, 1).Value), 1);
}

TEST_F(WaveMapTest, WavesAreCalculatedOnlyWhenStaleAndWavesAboveTheLastAreEmpty) {
  AddMark(Channel(1, 1), kSlowWave, 700);
  Draw();
  EXPECT_FALSE(s->WavesStale);
  EXPECT_EQ(s->NrWaves, 1);
  EXPECT_EQ(ui.beeps, 1);
  AddMark(Channel(4, 3), kSlowWave, 9000);  // not in the tables until they are stale again
  s->WaveNrA = 2;
  Draw();
  EXPECT_EQ(At(4, 3).Value, kNoValue);
  EXPECT_EQ(ui.beeps, 1);
}

// Cancelled at the second wave: the one wave of the calculation before stays, and a later
// request calculates both.
TEST_F(WaveMapTest, ACancelledCalculationKeepsTheWavesBefore) {
  AddMark(Channel(1, 1), kSlowWave, 700);
  Draw();
  AddMark(Channel(4, 3), kSlowWave, 9000);
  s->WavesStale = true;
  WaveProgress progress;
  int ended = 0;
  progress.CancelAsked = [&] { return s->NrWaves == 2; };
  progress.End = [&] { ++ended; };
  EXPECT_FALSE(waves.CalculateWavesIfStale(*s, ui, progress));
  EXPECT_EQ(s->NrWaves, 1);
  EXPECT_EQ(waves.Search().WaveTime(Channel(1, 1), 1), 700);
  EXPECT_EQ(waves.Search().WaveTime(Channel(4, 3), 2), kNoValue);
  EXPECT_EQ(ended, 1);
  EXPECT_EQ(ui.beeps, 1);
  EXPECT_FALSE(waves.CalculateWavesIfStale(*s, ui, {}));
  s->WavesStale = true;
  EXPECT_TRUE(waves.CalculateWavesIfStale(*s, ui, {}));
  EXPECT_EQ(s->NrWaves, 2);
  EXPECT_EQ(waves.Search().WaveTime(Channel(4, 3), 2), 9000);
}

TEST_F(WaveMapTest, AutomaticPositioningStartsTheTracesBeforeTheWaveCentre) {
  for (int col = 3; col <= 4; ++col) AddMark(Channel(col, 2), kSlowWave, 1000);
  s->AutoPositioning = s->TwoPanes = true;
  s->TraceOrder = 1;
  s->NrTraces = 4;
  s->FirstChannel = 200;
  Draw();  // centre (3, 2), moved back 2 columns
  EXPECT_EQ(s->FirstChannel, Channel(1, 2));
  s->FirstChannel = 200;
  Draw();  // the same wave again: the traces stay where the user put them
  EXPECT_EQ(s->FirstChannel, 200);
}

TEST_F(WaveMapTest, CompositeShowsLargeWavesByNumberLaterOnTop) {
  s->MinWaveSites = 2;
  AddMark(Channel(1, 1), kSlowWave, 100);
  AddMark(Channel(2, 1), kSlowWave, 200);
  AddMark(Channel(4, 3), kSlowWave, 3000);  // wave 2: one site only
  AddMark(Channel(2, 1), kSlowWave, 5000);
  AddMark(Channel(3, 1), kSlowWave, 5100);
  At(4, 2).Value = 77;  // left over from an earlier map
  s->WaveNrA = 3;
  waves.CompositeWaveMap(*s, canvas, 400, 300, ui);
  EXPECT_EQ(At(1, 1).Value, 1);
  EXPECT_EQ(At(2, 1).Value, 3);
  EXPECT_EQ(At(3, 1).Value, 3);
  EXPECT_EQ(At(4, 3).Value, kNoValue);
  EXPECT_EQ(At(4, 2).Value, kNoValue);
  EXPECT_EQ(s->NrWaves, 0);  // the pane's own waves are untouched
}

TEST_F(WaveMapTest, WaveNumberCommandsStayInRange) {
  WaveCommands commands(*s, ui);
  s->NrWaves = 3;
  s->WaveNrA = 3;
  commands.GotoNextWave();
  EXPECT_EQ(s->WaveNrA, 3);
  s->WaveNrA = 1;
  commands.GotoPreviousWave();
  EXPECT_EQ(s->WaveNrA, 1);
  ui.inputs = {"0", std::to_string(WaveSearch::kMaxWaves + 1), "250"};
  commands.GotoWaveNr();
  EXPECT_EQ(s->WaveNrA, 250);  // past the 199 waves a search once stopped at
  EXPECT_EQ(ui.beeps, 2);
  ASSERT_EQ(ui.prompts.size(), 3u);
  EXPECT_EQ(ui.prompts[0].caption, "Go to wave nr");
  EXPECT_EQ(ui.prompts[0].prompt, "Give nr:");
}

TEST_F(WaveMapTest, WaveMenuStepsPaneBWhileOnlyPaneBShowsWaves) {
  WaveCommands commands(*s, ui);
  s->NrWaves = 5;
  s->TwoPanes = true;
  s->PaneKindA = 1;
  s->PaneKindB = 2;
  commands.GotoNextWave();
  EXPECT_EQ(s->WaveNrB, 2);
  s->PaneKindA = 2;
  commands.GotoNextWave();
  EXPECT_EQ(s->WaveNrA, 2);
  EXPECT_EQ(s->WaveNrB, 2);
}

TEST_F(WaveMapTest, ChangeWaveDifferenceAsksForThePaneKindAndMakesWavesStale) {
  WaveCommands commands(*s, ui);
  s->MarkType = {2, 1};
  s->WavesStale = false;
  ui.inputs = {"-5", "90"};
  commands.ChangeWaveDifference();
  EXPECT_EQ(s->WaveDifference[1], 90);
  EXPECT_TRUE(s->WavesStale);
  EXPECT_EQ(ui.prompts[0].caption, "Minimum differente in time for type 2 wave separation");
  EXPECT_EQ(ui.prompts[0].prompt, "Give new wave time difference for type2");
  EXPECT_EQ(ui.prompts[0].value, "150");
  s->WavesStale = false;
  ui.inputs = {"abc"};
  EXPECT_EQ(commands.ChangeWaveDifference(), Redraw::None);
  EXPECT_FALSE(s->WavesStale);
  EXPECT_EQ(s->WaveDifference[1], 90);
}

}  // namespace
}  // namespace velmora::testing
