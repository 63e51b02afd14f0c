#include <gtest/gtest.h>

#include <memory>

#include "core/AnalysisState.h"
#include "maps/MapColours.h"

namespace velmora {
namespace {

class MapColoursTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetDefaults(*s);
    s->CurMapKind = 0;
    s->MapMinTime = 1230;
    s->IsochroneStep = 500;
    s->IsochroneParam = 10;
  }
  int Band(int32_t v) const { return MapColours::ColourIndex(*s, v); }
  std::unique_ptr<AnalysisState> s = std::make_unique<AnalysisState>();
};

TEST_F(MapColoursTest, TimeMapBandsStartAtTheStepBelowTheEarliestTime) {
  EXPECT_EQ(Band(1230), 1);
  EXPECT_EQ(Band(1499), 1);
  EXPECT_EQ(Band(1500), 2);
  EXPECT_EQ(Band(5999), 10);
  EXPECT_EQ(Band(6000), 11);
  EXPECT_EQ(Band(6001), 1);
  EXPECT_EQ(MapColours::MapColour(Band(6000)), 0xFF84C1u);  // pink
}

TEST_F(MapColoursTest, OtherMapsStartTheirBandsAtZero) {
  s->CurMapKind = 1;
  EXPECT_EQ(Band(1230), 3);
  EXPECT_EQ(Band(499), 1);
  EXPECT_EQ(Band(500), 2);
  // Two whole cycles above zero start the cycle again.
  EXPECT_EQ(Band(10000), 1);
}

TEST_F(MapColoursTest, NegativeValuesFallToBlackThenGrey) {
  s->CurMapKind = 5;
  EXPECT_EQ(Band(-499), 1);
  EXPECT_EQ(Band(-500), 0);
  EXPECT_EQ(Band(-999), 0);
  EXPECT_LT(Band(-1000), 0);
  EXPECT_EQ(MapColours::MapColour(Band(-750)), 0x000000u);
  EXPECT_EQ(MapColours::MapColour(Band(-1000)), 0x808080u);
}

TEST_F(MapColoursTest, PaletteIsRedGreenBlueOfTheBands) {
  EXPECT_EQ(MapColours::MapColour(1), 0xFF0000u);
  EXPECT_EQ(MapColours::MapColour(2), 0xFF8844u);
  EXPECT_EQ(MapColours::MapColour(9), 0x0077DEu);
  EXPECT_EQ(MapColours::MapColour(10), 0xFF3B1Eu);
  EXPECT_EQ(MapColours::MapColour(12), 0x3F0048u);
  EXPECT_EQ(MapColours::MapColour(13), 0x808080u);
  EXPECT_EQ(MapColours::MapColour(-1), 0x808080u);
}

TEST_F(MapColoursTest, ZeroStepCountsAsOneMillisecond) {
  s->IsochroneStep = 0;
  // Base 1230, bands of 1 ms cycling every 10 ms.
  EXPECT_EQ(Band(1230), 1);
  EXPECT_EQ(Band(1235), 6);
  EXPECT_EQ(Band(1240), 11);
  EXPECT_EQ(Band(1241), 2);
  s->IsochroneParam = 0;  // no cycle at all: still no division by zero
  EXPECT_EQ(Band(1241), 12);
}

}  // namespace
}  // namespace velmora
