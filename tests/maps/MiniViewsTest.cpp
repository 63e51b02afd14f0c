#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/RecordingCanvas.h"
#include "maps/MapFixture.h"
#include "maps/MiniGrid.h"
#include "maps/MiniMap.h"
#include "support/ScriptedUi.h"

namespace velmora {
namespace {

using testing::MapFixture;
using testing::ScriptedUi;

std::vector<std::string> Matching(const RecordingCanvas& canvas, const std::string& prefix) {
  std::vector<std::string> found;
  for (const std::string& line : canvas.Lines())
    if (line.rfind(prefix, 0) == 0) found.push_back(line);
  return found;
}

class MiniViewsTest : public MapFixture {
 protected:
  void SetUp() override {
    MapFixture::SetUp();
    // Row 1: 17 18 19 20; row 2: 21 _ 22 15; row 3 empty but for 23 in column 4.
    const int layout[][3] = {{17, 1, 1}, {18, 2, 1}, {19, 3, 1}, {20, 4, 1}, {21, 1, 2}, {22, 3, 2}, {15, 4, 2}, {23, 4, 3}};
    for (const auto& [channel, col, row] : layout) Place(channel, col, row);
    s->TraceOrder = 0;
  }
  void ShowTraces(int firstChannel, int count) {
    s->FirstChannel = firstChannel;
    s->NrTraces = count;
  }
  RecordingCanvas canvas;
};

TEST_F(MiniViewsTest, SizesFollowTheGrid) {
  s->NrCols = s->NrRows = 8;
  EXPECT_EQ(MiniMap::PaintBoxSize(*s), (MiniGrid::Size{91, 101}));
  EXPECT_EQ(MiniMap::WindowSize(*s), (MiniGrid::Size{111, 121}));
  EXPECT_EQ(MiniGrid::PaintBoxSize(*s), (MiniGrid::Size{72, 72}));
  EXPECT_EQ(MiniGrid::WindowSize(*s), (MiniGrid::Size{112, 112}));
}

TEST_F(MiniViewsTest, PointerReadsGridPositionAndElectrode) {
  struct Case {
    int x, y;
    int column, row;
    int32_t electrode;
    std::string caption;
  } cases[] = {
      {20, 35, 2, 3, kNoValue, "  X = 2     Y = 3   Ele = -12345"},
      {10, 10, 1, 1, 17, "  X = 1     Y = 1   Ele = 17"},
      {36, 16, 4, 2, 15, "  X = 4     Y = 2   Ele = 15"},
      {46, 16, 5, 2, MiniMap::kOutside, "  X = 5     Y = 2   Ele = -1"},
      {16, 36, 2, 4, MiniMap::kOutside, "  X = 2     Y = 4   Ele = -1"},
  };
  MiniMap map(*s);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.caption);
    const MiniMap::Position p = MiniMap::PositionAt(*s, c.x, c.y);
    EXPECT_EQ(p.column, c.column);
    EXPECT_EQ(p.row, c.row);
    EXPECT_EQ(map.MiniPaintMouseMove(c.x, c.y), c.caption);
    EXPECT_EQ(map.MiniElectrode(), c.electrode);
  }
}

TEST_F(MiniViewsTest, ClickStartsTracesAtElectrodeUnlessBeyondGrid) {
  ScriptedUi ui;
  MiniMap map(*s);
  s->FirstChannel = 40;
  EXPECT_FALSE(map.FormClick(ui)) << "no pointer move yet";
  map.MiniPaintMouseMove(46, 16);
  EXPECT_FALSE(map.FormClick(ui));
  EXPECT_EQ(s->FirstChannel, 40);
  EXPECT_EQ(ui.beeps, 0);
  map.MiniPaintMouseMove(26, 6);
  EXPECT_TRUE(map.FormClick(ui));
  EXPECT_EQ(s->FirstChannel, 19);
  EXPECT_EQ(ui.beeps, 1);
  map.MiniPaintMouseMove(20, 35);
  EXPECT_TRUE(map.FormClick(ui));
  EXPECT_EQ(s->FirstChannel, kNoValue);
}

TEST_F(MiniViewsTest, MiniMapDotsEveryPositionAndFramesShownElectrodes) {
  ShowTraces(14, 6);  // channels 14..19: 14 and 16 are off the grid, 15 is below 17
  MiniMap(*s).DrawMiniMap(canvas);
  const auto dots = Matching(canvas, "ellipse");
  ASSERT_EQ(dots.size(), 12u);
  EXPECT_EQ(dots.front(), "ellipse 11 11 15 15");
  EXPECT_EQ(dots.back(), "ellipse 41 31 45 35");
  EXPECT_EQ(Matching(canvas, "rect"),
            (std::vector<std::string>{"rect 0 0 71 71", "rect 8 8 18 18", "rect 18 8 28 18", "rect 28 8 38 18"}));
}

TEST_F(MiniViewsTest, MiniGridFramesEveryTraceChannelOnTheGrid) {
  ShowTraces(14, 3);  // 14 and 16 have no place, 15 sits at (4, 2)
  MiniGrid::DisplayMiniGrid(*s, canvas);
  EXPECT_EQ(Matching(canvas, "ellipse").size(), 12u);
  EXPECT_EQ(Matching(canvas, "ellipse")[1], "ellipse 8 16 10 18");
  EXPECT_EQ(Matching(canvas, "rect"), (std::vector<std::string>{"rect 1 1 40 32", "rect 28 12 37 21"}));
  EXPECT_EQ(MiniGrid::CalcMiniCell(*s, 23), (MiniGrid::Frame{28, 20, 37, 29}));
}

}  // namespace
}  // namespace velmora
