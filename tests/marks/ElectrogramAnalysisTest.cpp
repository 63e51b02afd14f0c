#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>

#include "core/AnalysisState.h"
#include "core/RecordingCanvas.h"
#include "marks/ElectrogramAnalysis.h"
#include "support/RecordedPolyline.h"
#include "support/ScriptedUi.h"

namespace velmora {
namespace {

// A paint area 4020 pixels wide shows one pixel per sample, so x = sample - CurBegin + 11 (sample 1 at 12).
constexpr int kWidth = 4020;

class ElectrogramAnalysisTest : public ::testing::Test {
 protected:
  void SetUp() override {
    s->SigLength = 10;
    s->CurBegin = 0;
    s->CurWindow = 10;
    s->Amplification = 1.0;
    s->FirstChannel = 20;
    s->MarkType = {1, 1};
    s->ActivePane = 1;
    for (int sample = 1; sample <= 12; ++sample) s->Signal(sample - 1, 19) = sample * sample;
    analysis.Initialise(kWidth);
  }
  std::vector<std::string> Polylines() {
    RecordingCanvas canvas;
    analysis.DisplayPanel(canvas, kWidth, 229);
    std::vector<std::string> found;
    for (const std::string& line : canvas.Lines())
      if (line.rfind("polyline", 0) == 0 || line.rfind("line", 0) == 0) found.push_back(line);
    return found;
  }
  testing::ScriptedUi ui;
  std::unique_ptr<AnalysisState> s = std::make_unique<AnalysisState>();
  ElectrogramAnalysis analysis{*s, ui};
};

TEST_F(ElectrogramAnalysisTest, TheDifferentiatedTraceOnlyUsesSamplesInsideTheSignal) {
  s->DiffDistSW = 4;  // h = 2: samples 3..8 have both neighbours within 1..10
  const std::vector<std::string> lines = Polylines();
  ASSERT_EQ(lines.size(), 3u);
  const std::vector<Point> diff = testing::PolylinePoints(lines[1]);
  ASSERT_EQ(diff.size(), 6u);
  EXPECT_EQ(diff.front(), (Point{14, 140 - (25 - 1)}));
  EXPECT_EQ(diff.back(), (Point{19, 140 - (100 - 36)}));
}

TEST_F(ElectrogramAnalysisTest, TheChannelTraceStopsAtTheSignalEndAndKeepsItsOffsetUnlessAveraged) {
  s->AverageOffset = false;
  const std::vector<Point> trace = testing::PolylinePoints(Polylines()[0]);
  ASSERT_EQ(trace.size(), 10u);
  EXPECT_EQ(trace.front(), (Point{12, 59}));
  EXPECT_EQ(trace.back(), (Point{21, -40}));
  s->AverageOffset = true;  // mean of 1, 4, ..., 100 is 38.5: 1 - 38.5 rounds to -38
  EXPECT_EQ(testing::PolylinePoints(Polylines()[0]).front(), (Point{12, 98}));
}

TEST_F(ElectrogramAnalysisTest, TheRedLineFollowsTheLevelTakenByUpdate) {
  ASSERT_TRUE(analysis.Update("-30", "50", "6"));
  EXPECT_EQ(Polylines().back(), "line 1 170 10 170");
  // A word or a width or distance the search cannot work with stores none of the three.
  for (const auto& [width, dist, field] : {std::tuple{"x", "8", "Search Width"}, std::tuple{"0", "8", "Search Width"},
                                           std::tuple{"50", "-1", "Diff Dist"}}) {
    SCOPED_TRACE(field);
    ui.errors.clear();
    EXPECT_FALSE(analysis.Update("-40", width, dist));
    EXPECT_EQ(s->MinDiffValSW, -30);
    EXPECT_EQ(s->SearchWidthSW, 50);
    EXPECT_EQ(s->DiffDistSW, 6);
    ASSERT_EQ(ui.errors.size(), 1u);
    EXPECT_NE(ui.errors[0].find(field), std::string::npos) << ui.errors[0];
  }
}

TEST_F(ElectrogramAnalysisTest, SteppingStopsBelowOneAndAtTwoHundredFiftyFive) {
  s->FirstChannel = 256;
  analysis.Initialise(kWidth);
  EXPECT_EQ(analysis.Channel(), 256);
  EXPECT_FALSE(analysis.StepUp());
  s->FirstChannel = 254;
  analysis.Initialise(kWidth);
  EXPECT_TRUE(analysis.StepUp());
  EXPECT_FALSE(analysis.StepUp());
  EXPECT_EQ(analysis.Channel(), 255);
  s->FirstChannel = 1;
  analysis.Initialise(kWidth);
  EXPECT_FALSE(analysis.StepDown());
  EXPECT_EQ(analysis.Channel(), 1);
  EXPECT_EQ(ui.beeps, 3);
}

TEST_F(ElectrogramAnalysisTest, KeepsItsScaleToItselfAndReadsOutOnlyInsideTheSignal) {
  s->SampleWidth = 0.25;
  s->TraceHeight = 75;
  analysis.Initialise(kWidth);
  EXPECT_DOUBLE_EQ(s->SampleWidth, 0.25);
  EXPECT_EQ(s->TraceHeight, 75);
  const auto inside = analysis.ReadOuts(14);  // n = 4: sample 3
  EXPECT_EQ(inside[0], " Sample nr: 4");
  EXPECT_EQ(inside[1], " Time: 3");
  EXPECT_EQ(inside[2], " Amplitude: 9");
  EXPECT_EQ(inside[3], " Amplitude: 0.01 mV");
  EXPECT_EQ(analysis.ReadOuts(10)[2], " Amplitude: ");
}

}  // namespace
}  // namespace velmora
