#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/AnalysisState.h"
#include "core/RecordingCanvas.h"
#include "maps/ConnectionDrawing.h"
#include "maps/ConnectionEdits.h"
#include "marks/ElectrogramDrawing.h"

namespace velmora {
namespace {

class ConnectionDrawingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    s->TraceLeft = 30;
    s->TraceTop = 10;
    s->TraceHeight = 40;  // band middles 30, 70, 110
    s->SampleWidth = 0.5;
    s->CurBegin = 1000;
  }
  std::unique_ptr<AnalysisState> s = std::make_unique<AnalysisState>();
  RecordingCanvas canvas;
};

TEST_F(ConnectionDrawingTest, ArrowsRunFromTheFirstMarkToTheSecondInTimeOrder) {
  ConnectionEdits::AppendConnection(*s, {20, 1100, 22, 1300, 1});   // two traces down
  ConnectionEdits::AppendConnection(*s, {20, 1500, 21, 1400, -1});  // the later mark is the first
  ConnectionEdits::AppendConnection(*s, {21, 1100, 22, 1300, 1});   // starts at another channel
  ConnectionEdits::AppendConnection(*s, {kNoValue, 1100, 20, 1300, 1});
  ConnectionDrawing::DrawConnections(*s, canvas, 1, 20);
  EXPECT_EQ(canvas.Lines(), (std::vector<std::string>{
                                "pen ff00ff 1 copy",
                                "line 80 30 180 110", "line 180 110 170 108", "line 180 110 176 101",
                                "line 230 70 280 30", "line 280 30 276 39", "line 280 30 270 32",
                                "pen 000000 1 copy", "brush ffffff solid"}));
}

TEST_F(ConnectionDrawingTest, ATraceWithoutAChannelDrawsNoDeletedRecords) {
  ConnectionEdits::AppendConnection(*s, {kNoValue, 1100, 20, 1300, 1});
  ConnectionDrawing::DrawConnections(*s, canvas, 1, kNoValue);
  EXPECT_TRUE(canvas.Lines().empty());
}

TEST_F(ConnectionDrawingTest, ThePaneDrawsThemForEveryTraceButTheLastWhileSwitchedOn) {
  s->PaneWidth = 1070;
  s->PaneHeight = 290;
  s->NrTraces = 2;
  s->TraceOrder = 0;
  s->FirstChannel = 20;
  s->SigLength = 10000;
  s->CurBegin = 0;
  s->CurWindow = 1000;
  ConnectionEdits::AppendConnection(*s, {20, 100, 21, 200, 1});
  ConnectionEdits::AppendConnection(*s, {21, 100, 20, 200, 1});  // from the last trace: not drawn
  auto magentaPens = [&] {
    RecordingCanvas pane;
    ElectrogramDrawing(*s, pane).DrawElectrograms();
    int count = 0;
    for (const std::string& line : pane.Lines()) count += line.rfind("pen ff00ff", 0) == 0;
    return count;
  };
  EXPECT_EQ(magentaPens(), 1);
  s->ShowElgConnections = false;
  EXPECT_EQ(magentaPens(), 0);
}

}  // namespace
}  // namespace velmora
