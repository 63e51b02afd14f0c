#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <sstream>

#include <fmt/format.h>

#include "core/AnalysisState.h"
#include "core/RecordingCanvas.h"
#include "marks/AnalysisDisplay.h"
#include "marks/ElectrogramDrawing.h"
#include "marks/SignalStatistics.h"
#include "marks/TraceLayout.h"
#include "support/ScriptedUi.h"

namespace velmora {
namespace {

class AnalysisDisplayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    s->PaneWidth = 1070;
    s->PaneHeight = 550;
    s->TraceOrder = 0;
    s->FirstChannel = 20;
    s->SigLength = 10000;
    s->CurBegin = 0;
    s->CurWindow = 5000;
    s->AverageOffset = false;
  }
  std::unique_ptr<AnalysisState> s = std::make_unique<AnalysisState>();
  testing::ScriptedUi ui;
  RecordingCanvas canvas;
  ElectrogramDrawing drawing{*s, canvas};
  AnalysisDisplay display{*s, canvas, ui, drawing};
};

TEST_F(AnalysisDisplayTest, StdevUsesTheOddMeanAndWMinusOne) {
  s->CurWindow = 8;
  const int values[] = {100, 100, 100, 100, 4, 4, 4, 4};  // samples 1..8
  for (int i = 0; i < 8; ++i) s->Signal(i, 19) = values[i];
  // Mean = (4 + 4 + 4 + 4) / 8 = 2; squares: 4 x 98^2 + 4 x 2^2.
  const double expected = std::sqrt((4 * 98.0 * 98.0 + 4 * 4.0) / 7);
  EXPECT_DOUBLE_EQ(SignalStatistics::ChannelStdev(*s, ui, 20), expected);
  EXPECT_DOUBLE_EQ(s->SignalStdev, expected);
  EXPECT_EQ(ui.log.back(), "elesub=20 Stdev= " + fmt::format("{:.2f}", expected));
}

TEST_F(AnalysisDisplayTest, AOneSampleWindowDoesNotDivideByZero) {
  s->CurWindow = 1;
  s->Signal(0, 19) = 77;
  EXPECT_EQ(SignalStatistics::ChannelStdev(*s, ui, 20), 0.0);
  s->CurWindow = 0;
  EXPECT_EQ(SignalStatistics::ChannelStdev(*s, ui, 20), 0.0);
}

TEST_F(AnalysisDisplayTest, ShowsFiveTracesAndDetectsWithAHoldOff) {
  // Deep dips at samples 1001, 1500 (held off) and 2100.
  for (int sample : {1001, 1500, 2100}) s->Signal(sample - 1, 19) = -5000;
  s->NrTraces = 24;
  display.DrawAnalysisTraces();
  EXPECT_EQ(s->NrTraces, 5);
  std::vector<std::string> detections;
  for (const std::string& line : ui.log)
    if (line.rfind("elesub", 0) != 0) detections.push_back(line);
  EXPECT_EQ(detections, (std::vector<std::string>{"1001", "2100"}));
  int polylines = 0;
  for (const std::string& line : canvas.Lines()) polylines += line.rfind("polyline", 0) == 0;
  EXPECT_EQ(polylines, 2);  // the channel and its differentiated trace
}

TEST_F(AnalysisDisplayTest, DifferentiatedTraceUsesHalfTheDiffDistance) {
  s->CurWindow = 10;
  s->PaneWidth = 80;  // one pixel per sample
  s->Amplification = 1.0;
  s->DiffDistSW = 4;  // h = 2
  for (int i = 0; i < 20; ++i) s->Signal(i, 19) = i * 3;  // sample k = 3(k - 1)
  TraceLayout::LayoutTraces(*s);  // 24 traces of 20 pixels: trace 2 centred at y = 40
  display.DrawDiffTrace(2, 20);
  std::istringstream polyline(canvas.Lines().back());
  std::string word;
  int count = 0;
  polyline >> word >> count;
  ASSERT_EQ(word, "polyline");
  ASSERT_EQ(count, 11);
  std::vector<Point> points(size_t(count), Point{});
  for (Point& p : points) polyline >> p.x >> p.y;
  EXPECT_EQ(points[0], (Point{30, 40}));  // raw sample 1
  EXPECT_EQ(points[1], (Point{32, 34}));  // sample 1: S(3) - nothing before sample 1 = 6
  EXPECT_EQ(points[3], (Point{34, 28}));  // sample 3: S(5) - S(1) = 12
}

}  // namespace
}  // namespace velmora
