#include <gtest/gtest.h>

#include <memory>

#include "core/AnalysisState.h"
#include "core/RecordingCanvas.h"
#include "marks/TraceOutline.h"

namespace velmora {
namespace {

TEST(TraceOutline, OutlinesTheCellsOfTheTracesShown) {
  auto s = std::make_unique<AnalysisState>();
  s->CellWidth = 25;
  s->CellHeight = 25;
  s->ElectrodeX[16] = 1;  // channel 17 at column 1, row 1
  s->ElectrodeY[16] = 1;
  s->ElectrodeX[17] = 3;  // channel 18 at column 3, row 2
  s->ElectrodeY[17] = 2;
  s->TraceOrder = 0;
  s->FirstChannel = 17;
  s->NrTraces = 3;  // channel 19 is not on the grid
  RecordingCanvas canvas;
  TraceOutline::OutlineTracesOnMap(*s, canvas);
  const std::vector<std::string> expected = {"pen 000000 2 copy", "brush ffffff clear", "rect 10 10 36 36",
                                             "rect 60 35 86 61",  "pen 000000 1 copy", "brush ffffff solid"};
  EXPECT_EQ(canvas.Lines(), expected);
}

TEST(TraceOutline, NothingBeforeAMapIsLaidOut) {
  auto s = std::make_unique<AnalysisState>();
  RecordingCanvas canvas;
  TraceOutline::OutlineTracesOnMap(*s, canvas);
  EXPECT_TRUE(canvas.Lines().empty());
}

}  // namespace
}  // namespace velmora
