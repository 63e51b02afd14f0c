#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/AnalysisState.h"
#include "maps/MapFixture.h"
#include "core/RecordingCanvas.h"
#include "maps/Isochrones.h"

namespace velmora {
namespace {

using Lines = std::vector<std::string>;

class IsochronesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetDefaults(*s);
    s->MapLeft = s->MapTop = 10;
    s->CellWidth = s->CellHeight = 25;
    s->CurMapKind = 0;
    s->IsochroneStep = 500;
    s->ReferenceTime = 0;
    s->MapBegin = 0;
    s->MapWindow = 10000;
    s->NrCols = s->NrRows = 2;
    for (int x = 1; x <= 3; ++x) {
      for (int y = 1; y <= 2; ++y) {
        s->GridCell(x, y) = 0;
        s->Cell(x, y) = MapCell{};
        s->Cell(x, y).Value = 0;  // what an unused cell holds from start-up
      }
    }
    Place(17, 1, 1);
    Place(18, 2, 1);
    Place(19, 1, 2);
    Place(20, 2, 2);
  }
  void Place(int channel, int x, int y) { testing::PlaceChannel(*s, channel, x, y); }
  // Corner values clockwise from the top left.
  void Square(int32_t m1, int32_t m2, int32_t m3, int32_t m4) {
    s->Cell(1, 1).Value = m1;
    s->Cell(2, 1).Value = m2;
    s->Cell(2, 2).Value = m3;
    s->Cell(1, 2).Value = m4;
  }
  Lines Draw() {
    canvas.Clear();
    Isochrones::DrawIsochrones(*s, canvas);
    return canvas.Lines();
  }
  std::unique_ptr<AnalysisState> s = std::make_unique<AnalysisState>();
  RecordingCanvas canvas;
};

TEST_F(IsochronesTest, OneSegmentThroughTheMiddleOfTheSquare) {
  Square(400, 600, 600, 400);
  EXPECT_EQ(Draw(), (Lines{"pen 000000 1 copy", "line 34 22 35 47"}));
}

TEST_F(IsochronesTest, SaddleGetsThreeSegments) {
  Square(400, 600, 400, 600);
  EXPECT_EQ(Draw(), (Lines{"pen 000000 1 copy", "line 34 22 47 34", "line 47 34 35 47", "line 35 47 22 35"}));
}

TEST_F(IsochronesTest, EveryLevelBetweenSmallestAndLargestIsDrawn) {
  Square(100, 1100, 1100, 100);
  // Levels 500, 1000 and 1500; the last crosses nothing. Along the top edge the levels lie
  // 400 / 1000 and 900 / 1000 of the way from the left, along the bottom edge 600 / 1000 and
  // 100 / 1000 of the way from the right (22.5 and 2.5 pixels round to the even neighbour).
  EXPECT_EQ(Draw(), (Lines{"pen 000000 1 copy", "line 32 22 32 47", "line 44 22 45 47"}));
}

TEST_F(IsochronesTest, CellsWithoutElectrodeOrValueAreNoData) {
  s->NrCols = 3;
  Square(400, 600, 600, 400);
  // Column 3 has no electrode and holds the 0 of start-up; an excluded electrode is no data
  // either. Neither may close a square with column 2.
  Place(21, 3, 2);
  s->Cell(3, 2).Value = kAltNoValue;
  EXPECT_EQ(Draw(), (Lines{"pen 000000 1 copy", "line 34 22 35 47"}));
}

TEST_F(IsochronesTest, WindowIsTestedOnRecordingTime) {
  Square(400, 600, 600, 400);
  s->ReferenceTime = 1000;
  s->MapBegin = 1300;
  s->MapWindow = 400;  // 1300 .. 1700 holds 1400 and 1600
  EXPECT_EQ(Draw().size(), 2u);
  s->MapBegin = 1450;  // 1400 falls out, and with it every square
  EXPECT_EQ(Draw(), (Lines{"pen 000000 1 copy"}));
}

TEST_F(IsochronesTest, ZeroStepDrawsNothing) {
  Square(400, 600, 600, 400);
  s->IsochroneStep = 0;
  EXPECT_TRUE(Draw().empty());
}

TEST_F(IsochronesTest, EmptyGridDrawsNoLine) {
  Square(400, 600, 600, 400);
  s->NrCols = 0;
  EXPECT_EQ(Draw(), (Lines{"pen 000000 1 copy"}));
}

}  // namespace
}  // namespace velmora
