#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/AnalysisState.h"
#include "maps/MapFixture.h"
#include "core/RecordingCanvas.h"
#include "maps/MapDrawing.h"

namespace velmora {
namespace {

using Lines = std::vector<std::string>;

class MapDrawingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetDefaults(*s);
    s->MapLeft = s->MapTop = 10;
    s->ShowMapColor = s->ShowMapDigit = true;
    s->ShowGrid = s->PlotIsochrones = s->PlotVelocities = s->TwoPanes = s->ShowMapStatistics = false;
    s->ExpandMap = false;
    s->CurMapKind = 0;
    s->MapMinTime = 1230;
    s->IsochroneStep = 500;
    s->IsochroneParam = 10;
    s->DigitType = 0;
    s->ExportDigitType = 2;
    // A 2 x 2 grid: channels 17, 18 on the first row, 19, 20 on the second.
    s->NrCols = s->NrRows = 2;
    Place(17, 1, 1);
    Place(18, 2, 1);
    Place(19, 1, 2);
    Place(20, 2, 2);
  }
  void Place(int channel, int x, int y) { testing::PlaceChannel(*s, channel, x, y); }
  void FillTimes(AnalysisState& st) {
    st.Cell(1, 1) = MapCell{};
    st.Cell(1, 1).Value = 1230;
    st.Cell(2, 1) = MapCell{};  // no value
    st.Cell(1, 2) = MapCell{};
    st.Cell(1, 2).Value = kAltNoValue;
    st.Cell(2, 2) = MapCell{};
    st.Cell(2, 2).Value = 1500;
    st.Cell(2, 2).Expanded = 1;
  }
  std::unique_ptr<AnalysisState> s = std::make_unique<AnalysisState>();
  RecordingCanvas canvas;
};

TEST_F(MapDrawingTest, CellsAreAsLargeAsTheNarrowerDirectionAllows) {
  s->NrCols = 16;
  s->NrRows = 8;
  MapDrawing::CalcCellSize(*s, 410, 300);
  EXPECT_EQ(s->CellWidth, 25);
  EXPECT_EQ(s->CellHeight, 25);
  EXPECT_EQ(s->MapRight, 16 * 25 + 10);
  EXPECT_EQ(s->MapBottom, 8 * 25 + 10);
  EXPECT_EQ(s->MapPaneRect.Width, 410);
  EXPECT_EQ(s->MapPaneRect.Height, 300);
}

TEST_F(MapDrawingTest, EmptyGridGivesNoCellsAndNoDivision) {
  s->NrCols = 0;
  MapDrawing::CalcCellSize(*s, 410, 300);
  EXPECT_EQ(s->CellWidth, 0);
  EXPECT_EQ(s->CellHeight, 0);
  EXPECT_EQ(s->MapRight, 10);
  s->NrCols = 4;
  MapDrawing::CalcCellSize(*s, 5, 300);  // narrower than the margin
  EXPECT_EQ(s->CellWidth, 0);
}

TEST_F(MapDrawingTest, CellCentreTakesTheRightEdgeOnePixelIn) {
  s->CellWidth = s->CellHeight = 25;
  EXPECT_EQ(MapDrawing::CellCentre(*s, 1, 1), (Point{22, 22}));
  EXPECT_EQ(MapDrawing::CellCentre(*s, 2, 3), (Point{47, 72}));
}

TEST_F(MapDrawingTest, MapDrawsColouredCellsDigitsAndCrosses) {
  MapDrawingHooks hooks;
  hooks.FillMapGrid = [this](AnalysisState& st) { FillTimes(st); };
  MapDrawing::DrawMap(*s, canvas, 60, 60, hooks);
  const Lines expected = {
      "brush ffffff solid", "rect 0 0 60 60",
      "brush ff0000 solid", "pen ff0000 1 copy", "rect 10 10 35 35",
      "font 000000 8 normal", "brush ffffff clear", "text 8 16 1230",
      "pen 000000 1 copy", "line 10 35 36 61", "line 36 35 10 61",
      "brush ff8844 solid", "pen ff8844 1 copy", "rect 35 35 60 60",
      "font 000000 8 normal italic", "brush ffffff clear", "text 33 41 1500",
  };
  EXPECT_EQ(canvas.Lines(), expected);
}

TEST_F(MapDrawingTest, HiddenColoursAndDigitsLeaveOnlyTheCrosses) {
  FillTimes(*s);
  s->ShowMapColor = s->ShowMapDigit = false;
  MapDrawing::DrawMap(*s, canvas, 60, 60, {});
  for (const std::string& line : canvas.Lines()) {
    EXPECT_NE(line.rfind("text", 0), 0u) << line;
    if (line.rfind("rect", 0) == 0) {
      EXPECT_EQ(line, "rect 0 0 60 60");
    }
  }
  EXPECT_EQ(std::count(canvas.Lines().begin(), canvas.Lines().end(), "line 10 35 36 61"), 1);
}

TEST_F(MapDrawingTest, DigitTypeTwoShowsSeconds) {
  FillTimes(*s);
  s->DigitType = 2;
  MapDrawing::DrawMap(*s, canvas, 60, 60, {});
  const Lines& lines = canvas.Lines();
  EXPECT_NE(std::find(lines.begin(), lines.end(), "text 8 16 1.23"), lines.end());
  EXPECT_NE(std::find(lines.begin(), lines.end(), "text 33 41 1.50"), lines.end());
}

TEST_F(MapDrawingTest, AmplitudeColoursByRoundedValueAndShowsTheReal) {
  s->CurMapKind = 4;
  s->Cell(1, 1) = MapCell{};
  s->Cell(1, 1).Amplitude = 0.4;
  for (auto [x, y] : {std::pair{2, 1}, {1, 2}, {2, 2}}) s->Cell(x, y) = MapCell{};
  MapDrawing::DrawMap(*s, canvas, 60, 60, {});
  const Lines expected = {
      "brush ffffff solid", "rect 0 0 60 60",
      "brush ff0000 solid", "pen ff0000 1 copy", "rect 10 10 35 35",
      "font 000000 8 normal", "brush ffffff clear", "text 8 16 0.40",
  };
  EXPECT_EQ(canvas.Lines(), expected);
}

TEST_F(MapDrawingTest, GridOutlinesOnlyElectrodeCells) {
  s->CellWidth = s->CellHeight = 25;
  s->ElectrodeX[19] = -1;  // channel 20 taken off the grid
  MapDrawing::DrawMapGrid(*s, canvas);
  const Lines expected = {"pen 000000 1 copy", "brush ffffff clear", "rect 10 10 36 36",
                          "rect 35 10 61 36", "rect 10 35 36 61"};
  EXPECT_EQ(canvas.Lines(), expected);
}

TEST_F(MapDrawingTest, ExpansionRunsOnlyWhenSwitchedOn) {
  int expansions = 0, statistics = 0;
  MapDrawingHooks hooks;
  hooks.ExpandMapGrid = [&](AnalysisState&) { ++expansions; };
  hooks.CalcMapStats = [&](AnalysisState&) { ++statistics; };
  MapDrawing::DrawMap(*s, canvas, 60, 60, hooks);
  EXPECT_EQ(expansions, 0);
  EXPECT_EQ(statistics, 0);
  s->ExpandMap = s->ShowMapStatistics = true;
  MapDrawing::DrawMap(*s, canvas, 60, 60, hooks);
  EXPECT_EQ(expansions, 1);
  EXPECT_EQ(statistics, 1);
}

TEST_F(MapDrawingTest, VelocitiesAreComputedBeforeTheArrowsAreDrawn) {
  FillTimes(*s);
  for (int x = 1; x <= 2; ++x) {
    for (int y = 1; y <= 2; ++y) s->Square(x, y) = VelocityCell{};
  }
  s->PlotVelocities = true;
  MapDrawingHooks hooks;
  hooks.CalcVelocities = [](AnalysisState& st) {
    VelocityCell& q = st.Square(1, 1);
    q.Speed = 40;
    q.StartX = 34, q.StartY = 35, q.EndX = 44, q.EndY = 35;
    q.Head1X = 39, q.Head1Y = 40, q.Head2X = 39, q.Head2Y = 30;
  };
  MapDrawing::DrawMap(*s, canvas, 60, 60, hooks);
  const Lines& lines = canvas.Lines();
  const Lines tail(lines.end() - 4, lines.end());
  const Lines expected = {"pen 000000 1 copy", "line 34 35 44 35", "line 44 35 39 40", "line 44 35 39 30"};
  EXPECT_EQ(tail, expected);
}

TEST_F(MapDrawingTest, ArrowsAreDrawnOverMapsOfTimesOnly) {
  // Counts, channels, intervals, amplitudes and slopes are no activation times: their
  // gradients are no velocities. The velocity map keeps the times its speeds come from.
  const std::vector<std::pair<uint8_t, bool>> kinds = {{0, true},  {1, false}, {2, false}, {3, false},
                                                       {4, false}, {5, false}, {6, true}};
  s->PlotVelocities = true;
  for (const auto& [kind, arrows] : kinds) {
    s->CurMapKind = kind;
    int computed = 0;
    MapDrawingHooks hooks;
    hooks.CalcVelocities = [&computed](AnalysisState& st) {
      ++computed;
      st.Square(1, 1) = VelocityCell{40, 0, 34, 35, 44, 35, 39, 40, 39, 30};
    };
    s->Square(1, 1) = VelocityCell{40, 0, 34, 35, 44, 35, 39, 40, 39, 30};
    canvas.Clear();
    MapDrawing::DrawMap(*s, canvas, 60, 60, hooks);
    const Lines& lines = canvas.Lines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "line 34 35 44 35"), arrows ? 1 : 0) << "kind " << int(kind);
    EXPECT_EQ(computed, arrows ? 1 : 0) << "kind " << int(kind);
  }
}

TEST_F(MapDrawingTest, TraceOutlineNeedsTwoPanesAndAMapPane) {
  FillTimes(*s);
  s->TraceOrder = 0;
  s->FirstChannel = 17;
  s->NrTraces = 1;
  s->TwoPanes = true;
  s->PaneKindA = 1;
  s->PaneKindB = 1;
  MapDrawing::DrawMap(*s, canvas, 60, 60, {});
  const auto outlinePen = [this] {
    return std::count(canvas.Lines().begin(), canvas.Lines().end(), "pen 000000 2 copy");
  };
  EXPECT_EQ(outlinePen(), 0);
  s->PaneKindB = 0;
  canvas.Clear();
  MapDrawing::DrawMap(*s, canvas, 60, 60, {});
  EXPECT_EQ(outlinePen(), 1);
  // The first trace shows channel 17, the top-left cell: its rectangle one pixel larger.
  const Lines& lines = canvas.Lines();
  const auto pen = std::find(lines.begin(), lines.end(), "pen 000000 2 copy");
  ASSERT_LT(pen + 2, lines.end());
  EXPECT_EQ(*(pen + 2), "rect 10 10 36 36");
}

}  // namespace
}  // namespace velmora
