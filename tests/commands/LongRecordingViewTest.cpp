// Seeing a recording of half an hour: times beyond 2^31 / 1000 ms, windows of minutes.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "commands/PaneCaptions.h"
#include "commands/PointerCommands.h"
#include "commands/StatusTime.h"
#include "commands/ViewCommands.h"
#include "core/AnalysisState.h"
#include "core/RecordingCanvas.h"
#include "marks/AutomaticMarking.h"
#include "marks/ElectrogramScales.h"
#include "marks/TraceLayout.h"
#include "support/ScriptedUi.h"

namespace velmora {
namespace {

constexpr int32_t kHalfHour = 1800000;

TEST(StatusTime, MillisecondsUpTo99999ThenMinutesAndSeconds) {
  const std::vector<std::pair<int64_t, std::string>> cases = {
      {0, "0 ms"},           {65535, "65535 ms"},        {99999, "99999 ms"},
      {-99999, "-99999 ms"}, {100000, "1:40.000"},       {754567, "12:34.567"},
      {kHalfHour, "30:00.000"}, {-100001, "-1:40.001"}, {2147483647, "35791:23.647"}};
  for (const auto& [ms, text] : cases) EXPECT_EQ(StatusTime::Text(ms), text) << ms;
  AnalysisState s;
  s.SigLength = kHalfHour;
  s.ReferenceTime = 120;
  const PaneCaptions::StatusTexts texts = PaneCaptions::StatusBar(s);
  EXPECT_EQ(texts.sigLength, " Signal: 30:00.000");
  EXPECT_EQ(texts.referenceTime, " Reference: 120 ms");
}

TEST(LongRecordingView, PagingWindowsAndZoomReachTheEndOfHalfAnHour) {
  auto s = std::make_unique<AnalysisState>();
  testing::ScriptedUi ui;
  ViewCommands view{*s, ui};
  AutomaticMarking marking{*s, ui};
  PointerCommands pointer{*s, ui, marking};
  s->SigLength = kHalfHour;
  ui.inputs.push_back(std::to_string(kHalfHour + 1));
  view.WindowTime(1);
  EXPECT_EQ(s->WindowA, kHalfHour + 1);
  s->WindowA = 65000;
  s->BeginA = kHalfHour - 100000;
  view.StepForward(1);
  EXPECT_EQ(s->BeginA, kHalfHour - 35000);
  view.StepForward(1);
  EXPECT_EQ(s->BeginA, kHalfHour - 65000);
  s->PointerTime = kHalfHour - 10;
  s->WindowA = 1000000;
  pointer.CalcNewZoom(1, false);
  EXPECT_EQ(s->WindowA, kHalfHour);
  EXPECT_EQ(s->BeginA, kHalfHour / 2 - 10);
  pointer.CalcNewZoom(1, true);
  EXPECT_EQ(s->WindowA, kHalfHour / 2);
  EXPECT_EQ(s->BeginA, kHalfHour - 10 - kHalfHour / 4);
}

TEST(LongRecordingView, GridLinesOfLongWindowsKeepApart) {
  EXPECT_EQ(ElectrogramScales::TimeGridStep(65535), 2000);
  EXPECT_EQ(ElectrogramScales::TimeGridStep(100000), 2000);
  EXPECT_EQ(ElectrogramScales::TimeGridStep(100001), 5000);
  EXPECT_EQ(ElectrogramScales::TimeGridStep(600000), 20000);
  EXPECT_EQ(ElectrogramScales::TimeGridStep(kHalfHour), 60000);
  EXPECT_EQ(ElectrogramScales::TimeGridStep(2000000000), 3600000);
}

// A window of ten minutes that begins at 40 minutes, beyond 2^31 / 1000 ms: one line a 20 s
// step, labelled in milliseconds.
TEST(LongRecordingView, TheTimeGridLabelsTimesPast2To31Microseconds) {
  auto s = std::make_unique<AnalysisState>();
  s->PaneWidth = 670;  // 600 pixels: 1 a second
  s->PaneHeight = 290;
  s->SigLength = 3000000;
  s->CurBegin = 2400000;
  s->CurWindow = 600000;
  TraceLayout::LayoutTraces(*s);
  RecordingCanvas canvas;
  ElectrogramScales(*s, canvas).DrawTimeGrid();
  const std::vector<std::string>& lines = canvas.Lines();
  auto drawn = [&](const std::string& line) { return std::find(lines.begin(), lines.end(), line) != lines.end(); };
  EXPECT_TRUE(drawn("text 9 1 2400000"));   // 7 digits: shifted 3 x 7
  EXPECT_TRUE(drawn("text 69 1 2460000"));  // every third line has room for a label
  EXPECT_TRUE(drawn("line 50 15 50 240"));  // 20 s on
  EXPECT_TRUE(drawn("line 630 15 630 240"));
  EXPECT_FALSE(drawn("line 40 15 40 240"));
  EXPECT_EQ(std::count_if(lines.begin(), lines.end(), [](const std::string& l) { return l.rfind("line", 0) == 0; }),
            31);
}

}  // namespace
}  // namespace velmora
