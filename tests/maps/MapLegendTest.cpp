#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "core/AnalysisState.h"
#include "core/RecordingCanvas.h"
#include "maps/MapDrawing.h"
#include "maps/MapFixture.h"
#include "maps/MapLegend.h"

namespace velmora {
namespace {

using Entry = MapLegend::Entry;
using Entries = std::vector<Entry>;
using Lines = std::vector<std::string>;

// A 2 x 2 grid of channels 17..20, bands of 500 starting at the earliest time, 1230.
class MapLegendTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetDefaults(*s);
    s->NrCols = s->NrRows = 2;
    testing::PlaceChannel(*s, 17, 1, 1);
    testing::PlaceChannel(*s, 18, 2, 1);
    testing::PlaceChannel(*s, 19, 1, 2);
    testing::PlaceChannel(*s, 20, 2, 2);
    s->CurMapKind = 0;
    s->MapMinTime = 1230;
    SetValues({1230, 1500, kNoValue, kAltNoValue});
  }
  void SetValues(const std::vector<int32_t>& values) {
    for (int i = 0; i < 4; ++i) {
      s->Cell(i % 2 + 1, i / 2 + 1) = MapCell{};
      s->Cell(i % 2 + 1, i / 2 + 1).Value = values[size_t(i)];
    }
  }
  // Draws the map as filled above, in a pane of the given size.
  Lines Draw(int width, int height) {
    canvas.Clear();
    MapDrawing::DrawMap(*s, canvas, width, height, {});
    return canvas.Lines();
  }
  // The colour swatches of a legend beside the grid, which ends at x 60 in the panes below.
  static size_t Swatches(const Lines& lines) {
    return size_t(std::count_if(lines.begin(), lines.end(), [](const std::string& l) { return l.rfind("rect 70 ", 0) == 0; }));
  }
  std::unique_ptr<AnalysisState> s = std::make_unique<AnalysisState>();
  RecordingCanvas canvas;
};

TEST_F(MapLegendTest, EntriesFollowTheColourBandsFromTheLowestValueToTheHighest) {
  // A cycle of ten bands ends at 6000 (pink, one value), then red begins again.
  SetValues({1230, 1750, 6000, 6100});
  Entries expected;
  for (int band = 1; band <= 10; ++band) expected.push_back({500 + 500 * band, 999 + 500 * band, band});
  expected.front().low = 1230;
  expected.push_back({6000, 6000, 11});
  expected.push_back({6001, 6100, 1});
  EXPECT_EQ(MapLegend::Entries(*s, 64), expected);
  // Other maps start their bands at 0; band 1 reaches down to -499, black below it.
  s->CurMapKind = 5;
  for (int i = 0; i < 4; ++i) s->Cell(i % 2 + 1, i / 2 + 1).Slope = i == 0 ? -600.4 : 20.0;
  EXPECT_EQ(MapLegend::Entries(*s, 64), (Entries{{-600, -500, 0}, {-499, 20, 1}}));
  // More bands than a legend holds, and a map without values, give none.
  s->CurMapKind = 0;
  SetValues({1230, 100000, kNoValue, kNoValue});
  EXPECT_TRUE(MapLegend::Entries(*s, 64).empty());
  SetValues({kNoValue, kAltNoValue, kNoValue, kNoValue});
  EXPECT_TRUE(MapLegend::Entries(*s, 64).empty());
}

TEST_F(MapLegendTest, DrawnBesideTheGridWhenThePaneIsWideAndBelowItWhenTall) {
  const Lines wide = Draw(200, 60);  // cells of 25 pixels: the grid ends at x 60
  EXPECT_EQ(s->CellWidth, 25);
  EXPECT_EQ(s->MapRight, 60);
  const Lines expected = {
      "pen 000000 1 copy", "brush ff0000 solid", "rect 70 10 83 23", "brush ffffff clear",
      "text 88 10 1230\xE2\x80\x93" "1499 ms",
      "pen 000000 1 copy", "brush ff8844 solid", "rect 70 27 83 40", "brush ffffff clear", "text 88 27 1500 ms",
  };
  ASSERT_GE(wide.size(), expected.size());
  EXPECT_EQ(Lines(wide.end() - long(expected.size()), wide.end()), expected);
  const Lines tall = Draw(150, 300);  // cells of 70 pixels: the grid ends at y 150
  EXPECT_EQ(s->CellWidth, 70);
  EXPECT_EQ(s->MapBottom, 150);
  const Lines below = {"rect 10 160 23 173", "text 28 160 1230\xE2\x80\x93" "1499 ms", "rect 10 177 23 190",
                       "text 28 177 1500 ms"};
  for (const std::string& line : below) EXPECT_NE(std::find(tall.begin(), tall.end(), line), tall.end()) << line;
}

TEST_F(MapLegendTest, NoRoomSwitchedOffUncolouredOrAnElectrodeMapGiveNoLegend) {
  EXPECT_EQ(Swatches(Draw(60, 60)), 0u);   // the grid fills the pane
  EXPECT_EQ(Swatches(Draw(150, 60)), 0u);  // too narrow for "1230–1499 ms"
  EXPECT_EQ(Swatches(Draw(200, 60)), 2u);
  s->ShowMapLegend = false;
  EXPECT_EQ(Swatches(Draw(200, 60)), 0u);
  s->ShowMapLegend = true;
  s->ShowMapColor = false;
  EXPECT_EQ(Swatches(Draw(200, 60)), 0u);
  s->ShowMapColor = true;
  s->CurMapKind = 2;  // channel numbers: their bands mean nothing
  SetValues({17, 18, 19, 20});
  EXPECT_EQ(Swatches(Draw(200, 60)), 0u);
  s->CurMapKind = 1;
  SetValues({0, 3, 1, 2});
  const Lines counts = Draw(200, 60);
  EXPECT_EQ(Swatches(counts), 1u);
  EXPECT_EQ(counts.back(), "text 88 10 0\xE2\x80\x93" "3 marks");
}

}  // namespace
}  // namespace velmora
