#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "core/RecordingCanvas.h"
#include "maps/ActivationFilm.h"
#include "maps/MapFixture.h"

namespace velmora {
namespace {

using Lines = std::vector<std::string>;

class ActivationFilmTest : public testing::MapFixture {
 protected:
  void SetUp() override {
    MapFixture::SetUp();
    s->SigLength = 10000;
    s->AnimStep = 100;
    s->SWDuration = 1000;
    s->AnimBegin = 0;
    s->AnimEnd = s->NoValue;
    s->IsochroneStep = 500;
    s->IsochroneParam = 10;
    s->MapLeft = s->MapTop = 10;
    s->ShowGrid = false;
    Place(17, 1, 1);
    Place(18, 2, 1);
  }
  double StrengthAt(int channel, int time, int kind = 1) {
    return ActivationFilm(*s, kind).LightAt(channel, time).Strength;
  }
};

TEST_F(ActivationFilmTest, AMarkLightsItsCellAtFullStrengthInItsStepOnly) {
  AddMark(17, 1, 1250);
  EXPECT_DOUBLE_EQ(StrengthAt(17, 1100), 0.0);  // the step before: not yet
  EXPECT_DOUBLE_EQ(StrengthAt(17, 1200), 1.0);  // [1200, 1300) holds the mark
  EXPECT_LT(StrengthAt(17, 1300), 1.0);         // the step after already fades
  EXPECT_GT(StrengthAt(17, 1300), 0.0);
  EXPECT_DOUBLE_EQ(StrengthAt(18, 1200), 0.0);  // other electrodes stay dark
}

TEST_F(ActivationFilmTest, TheLightFadesLinearlyToNothingOverTheSlowWaveDuration) {
  AddMark(17, 1, 1000);
  EXPECT_DOUBLE_EQ(StrengthAt(17, 1250), 0.75);
  EXPECT_DOUBLE_EQ(StrengthAt(17, 1500), 0.5);
  EXPECT_NEAR(StrengthAt(17, 1900), 0.1, 1e-12);
  EXPECT_DOUBLE_EQ(StrengthAt(17, 2000), 0.0);
  EXPECT_DOUBLE_EQ(StrengthAt(17, 5000), 0.0);
}

TEST_F(ActivationFilmTest, ALaterMarkRelightsTheCell) {
  AddMark(17, 1, 1000);
  AddMark(17, 1, 1520);
  EXPECT_DOUBLE_EQ(StrengthAt(17, 1500), 1.0);
  EXPECT_DOUBLE_EQ(StrengthAt(17, 1620), 0.9);
}

TEST_F(ActivationFilmTest, OnlyVisibleMarksOfThePanesKindLight) {
  AddMark(17, 2, 1000);               // a spike
  AddMark(18, 1, 1000, /*visible=*/0);  // hidden
  EXPECT_DOUBLE_EQ(StrengthAt(17, 1000, 1), 0.0);
  EXPECT_DOUBLE_EQ(StrengthAt(17, 1000, 2), 1.0);
  EXPECT_DOUBLE_EQ(StrengthAt(17, 1000, 0), 1.0);  // all kinds
  EXPECT_DOUBLE_EQ(StrengthAt(18, 1000, 1), 0.0);
}

struct StepCase {
  int begin, end, step, sigLength;
  int expectedCount, expectedEnd;
  bool cut = false;  // the end asked for lay past the recording
};

class ActivationFilmSteps : public ActivationFilmTest, public ::testing::WithParamInterface<StepCase> {};

TEST_P(ActivationFilmSteps, CountsTheStepsFromBeginToEndInclusive) {
  const StepCase c = GetParam();
  s->AnimBegin = c.begin;
  s->AnimEnd = c.end;
  s->AnimStep = c.step;
  s->SigLength = c.sigLength;
  const ActivationFilm::Steps steps = ActivationFilm::PlanSteps(*s);
  EXPECT_EQ(steps.Count, c.expectedCount);
  EXPECT_EQ(steps.End, c.expectedEnd);
  EXPECT_LE(steps.TimeOf(steps.Count - 1), steps.End);
  EXPECT_EQ(steps.EndCut(), c.cut);
  EXPECT_EQ(steps.CutNote().empty(), !c.cut);
}

INSTANTIATE_TEST_SUITE_P(Table, ActivationFilmSteps,
                         ::testing::Values(StepCase{0, 1000, 100, 5000, 11, 1000},     // end on a step
                                           StepCase{0, 1050, 100, 5000, 11, 1050},     // end between steps
                                           StepCase{200, 200, 100, 5000, 1, 200},      // one frame
                                           StepCase{0, kNoValue, 100, 5000, 50, 4999},  // unset: whole recording
                                           StepCase{0, 0, 250, 1000, 4, 999},          // 0 counts as unset
                                           StepCase{500, kNoValue, 1, 503, 3, 502},
                                           StepCase{0, 5000, 100, 5000, 50, 4999, true},  // one past the end
                                           StepCase{4000, 99999999, 500, 5000, 2, 4999, true},
                                           StepCase{4999, 8000, 100, 5000, 1, 4999, true}));

TEST_F(ActivationFilmTest, AStepBelowOneABeginPastTheRecordingAndAnEndBeforeTheBeginAreRefused) {
  s->AnimStep = 0;
  EXPECT_THROW(ActivationFilm::PlanSteps(*s), std::invalid_argument);
  s->AnimStep = -5;
  EXPECT_THROW(ActivationFilm::PlanSteps(*s), std::invalid_argument);
  s->AnimStep = 100;
  s->AnimBegin = 3000;
  s->AnimEnd = 2000;
  EXPECT_THROW(ActivationFilm::PlanSteps(*s), std::invalid_argument);
  for (const int begin : {10000, 70000}) {  // the recording's last ms is 9999
    s->AnimBegin = begin;
    s->AnimEnd = 80000;
    EXPECT_THROW(ActivationFilm::PlanSteps(*s), std::invalid_argument) << begin;
  }
}

TEST_F(ActivationFilmTest, FadingMixesTheColourWithWhite) {
  EXPECT_EQ(ActivationFilm::Faded(0xFF0000, 1.0), 0xFF0000u);
  EXPECT_EQ(ActivationFilm::Faded(0xFF0000, 0.0), 0xFFFFFFu);
  EXPECT_EQ(ActivationFilm::Faded(0x0077DE, 0.5), 0x80BBEFu);
}

TEST_F(ActivationFilmTest, AFrameDrawsLitCellsInTheMapsPlacesAndColoursWithTheTime) {
  s->NrCols = 2;
  s->NrRows = 1;
  AddMark(17, 1, 1250);  // band 3 of 500 ms: yellow at full strength
  AddMark(18, 1, 700);   // band 2 (orange), half faded by 1200
  RecordingCanvas canvas;
  ActivationFilm film(*s, 1);
  film.DrawFrame(*s, canvas, 70, 60, 12, true);  // t = 1200
  // The caption takes 21 pixels above the grid: cells of 30 from (10, 21).
  const Lines expected = {
      "font 000000 8 normal", "brush ffffff solid", "rect 0 0 70 60",
      "brush ffff00 solid", "pen ffff00 1 copy", "rect 10 21 40 51",
      "brush ffc4a2 solid", "pen ffc4a2 1 copy", "rect 40 21 70 51",
      "font 000000 8 normal", "brush ffffff clear", "text 10 4 t = 1200 ms",
  };
  EXPECT_EQ(canvas.Lines(), expected);
  EXPECT_EQ(s->MapTop, 10);  // the caption's margin is not left behind
}

TEST_F(ActivationFilmTest, AFrameWithoutCaptionKeepsTheMapsMargins) {
  s->NrCols = 2;
  s->NrRows = 1;
  AddMark(18, 1, 1200);
  RecordingCanvas canvas;
  ActivationFilm(*s, 1).DrawFrame(*s, canvas, 70, 60, 12, false);
  const Lines expected = {
      "font 000000 8 normal", "brush ffffff solid", "rect 0 0 70 60",
      "brush ffff00 solid", "pen ffff00 1 copy", "rect 40 10 70 40",
  };
  EXPECT_EQ(canvas.Lines(), expected);
}

}  // namespace
}  // namespace velmora
