#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/RecordingCanvas.h"
#include "maps/MapFixture.h"
#include "maps/WaveFormDrawing.h"

namespace velmora {
namespace {

using testing::MapFixture;

class WaveFormDrawingTest : public MapFixture {
 protected:
  void SetUp() override {
    MapFixture::SetUp();
    // One cell of 100 x 100 pixels: the pane leaves 50 pixels free across, and down 20 above
    // the cells and 50 below them.
    s->NrCols = s->NrRows = 1;
    Place(17, 1, 1);
    s->PaneWidth = 150;
    s->PaneHeight = 170;
    s->CurBegin = 0;
    s->CurWindow = 4;
    s->SigLength = 5000;
    s->Amplification = 1;
    s->AverageOffset = false;
    s->WaveGrid = s->WaveGridLabel = s->WavePlotElgNr = s->WaveMarkAlign = false;
    SetSamples(17, {10, 20, 30, 40});
  }
  void SetSamples(int channel, const std::vector<int32_t>& values, int firstSample = 1) {
    for (size_t i = 0; i < values.size(); ++i) s->Signal(firstSample - 1 + int(i), channel - 1) = values[i];
  }
  std::vector<std::string> Draw() {
    canvas.Clear();
    WaveFormDrawing(*s, canvas).DrawWaveForms();
    std::vector<std::string> drawn;
    for (const std::string& line : canvas.Lines())
      if (line.rfind("polyline", 0) == 0 || line.rfind("line", 0) == 0 || line.rfind("text", 0) == 0)
        drawn.push_back(line);
    return drawn;
  }
  RecordingCanvas canvas;
};

TEST_F(WaveFormDrawingTest, LayoutSharesThePaneAmongTheCells) {
  s->NrCols = 4;
  s->NrRows = 3;
  s->PaneWidth = 455;
  s->PaneHeight = 371;
  s->WaveSignalLength = 1000;
  const WaveFormDrawing::Layout l = WaveFormDrawing::WaveFormLayout(*s);
  EXPECT_EQ(l.cellWidth, 101);
  EXPECT_EQ(l.cellHeight, 100);
  EXPECT_EQ(l.left, 25);
  EXPECT_EQ(l.top, 20);
  EXPECT_DOUBLE_EQ(l.sampleScale, 0.101);
}

TEST_F(WaveFormDrawingTest, CellTraceRunsFromCellEdgeAroundItsMiddle) {
  EXPECT_EQ(Draw(), (std::vector<std::string>{"polyline 5 25 60 75 60 100 50 125 40 150 30"}));
  EXPECT_EQ(s->WaveSignalLength, 4) << "the signal length follows the window";
  s->AverageOffset = true;  // mean 25
  EXPECT_EQ(Draw(), (std::vector<std::string>{"polyline 5 25 85 75 85 100 75 125 65 150 55"}));
}

TEST_F(WaveFormDrawingTest, DotsGridLabelsAndChannelNumbers) {
  s->PlotOnlyDots = true;
  s->WavePlotElgNr = true;
  EXPECT_EQ(Draw(), (std::vector<std::string>{"text 26 21 17", "line 25 60 26 61", "line 75 60 76 61",
                                              "line 100 50 101 51", "line 125 40 126 41", "line 150 30 151 31"}));
  s->PlotOnlyDots = s->WavePlotElgNr = false;
  s->WaveGrid = s->WaveGridLabel = true;
  const std::vector<std::string> drawn = Draw();
  EXPECT_EQ(std::vector<std::string>(drawn.begin(), drawn.begin() + 8),
            (std::vector<std::string>{"line 25 20 25 120", "line 125 20 125 120", "line 25 20 125 20",
                                      "line 25 120 125 120", "text 75 5 1", "text 75 128 1", "text 10 70 1",
                                      "text 133 70 1"}));
}

// The pane's paint area lies under its 25-pixel title bar: the column numbers below the cells
// end inside it.
TEST_F(WaveFormDrawingTest, TheBottomLabelsStayInsideThePaintArea) {
  s->WaveGridLabel = true;
  for (const int rows : {1, 4, 15}) {
    s->NrRows = rows;
    const WaveFormDrawing::Layout l = WaveFormDrawing::WaveFormLayout(*s);
    const int labelTop = l.top + rows * l.cellHeight + 8;
    EXPECT_LE(labelTop + canvas.TextHeight("1"), s->PaneHeight - 25) << rows;
    const std::vector<std::string> drawn = Draw();
    EXPECT_NE(std::find(drawn.begin(), drawn.end(), "text 75 " + std::to_string(labelTop) + " 1"), drawn.end());
  }
}

TEST_F(WaveFormDrawingTest, MarkAlignCentresEachCellOnItsMark) {
  s->NrCols = 2;
  s->PaneWidth = 250;  // two cells of 100
  Place(18, 2, 1);
  for (int row = 0; row < 3000; ++row) s->Signal(row, 16) = row;  // sample n reads n - 1
  s->WaveMarkAlign = true;
  s->CurBegin = 500;
  s->CurWindow = 1000;
  s->ReferenceTime = 200;
  AddMark(17, 1, 1000);
  AddMark(18, 1, 1600);  // after the window: its cell stays empty
  const std::vector<std::string> drawn = Draw();
  ASSERT_EQ(drawn.size(), 1u);
  // The mark at 1000 starts the cell after sample 500: its first value is 500.
  EXPECT_EQ(drawn[0].substr(0, 22), "polyline 1001 25 -430 ");
}

TEST_F(WaveFormDrawingTest, AlignedStartStaysInsideTheRecording) {
  s->CurBegin = 0;
  s->CurWindow = s->WaveSignalLength = 1000;
  struct Case {
    int32_t sigLength, mark;
    std::optional<int32_t> start;
  } cases[] = {
      {5000, 100, 1},      {5000, 700, 200},    {5000, 0, std::nullopt}, {5000, 1000, std::nullopt},
      {1300, 900, 300},    {600, 300, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mark);
    s->SigLength = c.sigLength;
    EXPECT_EQ(WaveFormDrawing::AlignedStart(*s, c.mark), c.start);
  }
}

TEST_F(WaveFormDrawingTest, NothingIsReadBeyondTheSignalStore) {
  s->CurBegin = kStartSignalRows - 3;
  s->CurWindow = 1000;
  const std::vector<std::string> drawn = Draw();
  ASSERT_EQ(drawn.size(), 1u);
  EXPECT_EQ(drawn[0].rfind("polyline 4 ", 0), 0u) << drawn[0];
  s->NrRows = 0;
  EXPECT_TRUE(Draw().empty());
}

}  // namespace
}  // namespace velmora
