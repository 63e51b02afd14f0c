#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/AnalysisState.h"
#include "core/RecordingCanvas.h"
#include "marks/TimeCursor.h"

namespace velmora {
namespace {

// Traces from x = 30, 0.5 pixels per sample from sample 1000, 1000 Hz: 1000 ms at x = 30.
class TimeCursorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetDefaults(*s);
    s->SamplingF = 1000;
    s->TraceLeft = 30;
    s->TraceTop = 10;
    s->TraceAreaWidth = 500;
    s->TraceAreaBottom = 300;
    s->TraceFirstSample = 1000;
    s->SampleWidth = 0.5;
  }
  std::unique_ptr<AnalysisState> s = std::make_unique<AnalysisState>();
};

TEST_F(TimeCursorTest, FollowsTheSampleToPixelRuleAndStaysInsideTheTraces) {
  EXPECT_EQ(TimeCursor::X(*s, 1000), 30);
  EXPECT_EQ(TimeCursor::X(*s, 1400), 230);
  EXPECT_EQ(TimeCursor::X(*s, 2000), 530);
  EXPECT_FALSE(TimeCursor::X(*s, 990).has_value());
  EXPECT_FALSE(TimeCursor::X(*s, 2004).has_value());
  s->SamplingF = 2000;  // two samples per ms
  EXPECT_EQ(TimeCursor::X(*s, 700), 230);
}

TEST_F(TimeCursorTest, DrawsOneLineAcrossTheTracesOrNothing) {
  RecordingCanvas canvas;
  TimeCursor::Draw(*s, canvas, 1400);
  EXPECT_EQ(canvas.Lines(), (std::vector<std::string>{"pen ff8800 1 copy", "line 230 10 230 310"}));
  canvas.Clear();
  TimeCursor::Draw(*s, canvas, 5000);
  EXPECT_TRUE(canvas.Lines().empty());
}

}  // namespace
}  // namespace velmora
