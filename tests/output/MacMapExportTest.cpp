#include <gtest/gtest.h>

#include <string>

#include "maps/MapFixture.h"
#include "support/TempDir.h"
#include "output/ExportRefused.h"
#include "output/MacExport.h"

namespace velmora {
namespace {

const std::string kFrame300x200 = "6 4\n10 10 500 10\n500 10 500 337\n500 337 10 337\n10 337 10 10\n";

class MacMapExport : public testing::MapFixture {
 protected:
  // A map whose larger side is 245 pixels, so it is scaled by exactly 2, with 40-pixel cells
  // starting at (5, 5). Channel 30 sits left of channel 18; channels 19 and 20 hold no value.
  void DrawnMap() {
    s->MapRight = 245;
    s->MapBottom = 100;
    s->MapLeft = s->MapTop = 5;
    s->CellWidth = s->CellHeight = 40;
    Place(30, 1, 1);
    Place(18, 2, 1);
    Place(19, 3, 1);
    Place(20, 1, 2);
    At(1, 1).Value = 1234;
    At(2, 1).Value = 250;
    At(3, 1).Value = s->NoValue;
    At(1, 2).Value = s->AltNoValue;
    s->ShowMapDigit = true;
  }
};

TEST_F(MacMapExport, FrameIsScaledSoTheLargerSideIs490) {
  s->MapRight = 300;
  s->MapBottom = 200;
  s->ShowMapDigit = false;
  EXPECT_EQ(MacExport::MapText(*s), "1\n" + kFrame300x200);

  s->MapRight = 100;  // taller than wide: the height sets the scale
  s->MapBottom = 200;
  EXPECT_EQ(MacExport::MapText(*s), "1\n6 4\n10 10 255 10\n255 10 255 500\n255 500 10 500\n10 500 10 10\n");
}

TEST_F(MacMapExport, DigitObjectFollowsTheFrameByDigitTypeAndArrows) {
  DrawnMap();
  s->Square(2, 1) = VelocityCell{12.5, 90, 7, 8, 9, 10, 11, 12, 13, 14};
  s->Square(1, 1).StartX = 0;  // no arrow for this cell
  const std::string frame = "6 4\n10 10 500 10\n500 10 500 210\n500 210 10 210\n10 210 10 10\n";
  struct Case {
    int digitType;
    bool arrows;
    std::string object;
  };
  // Channel 18's cell centre (64, 25) and channel 30's (24, 25) are scaled by 2 plus the margin.
  const Case cases[] = {
      {0, false, "1 2\n138 60 250\n58 60 1234\n"},
      {3, false, "1 2\n138 60 2\n58 60 12\n"},
      {2, false, "1 0\n"},
      {0, true, "5 1\n7 8 9 10 11 12 13 14\n"},
      {3, true, "5 3\n7 8 9 10 11 12 13 14\n138 60 2\n58 60 12\n"},
  };
  for (const Case& c : cases) {
    s->DigitType = c.digitType;
    s->PlotVelocities = c.arrows;
    EXPECT_EQ(MacExport::MapText(*s), "2\n" + frame + c.object) << "DigitType " << c.digitType << " arrows " << c.arrows;
  }
}

TEST_F(MacMapExport, WithoutADrawnMapNothingIsWrittenAndAnEarlierFileStays) {
  testing::TempDir dir;
  const std::string path = dir.Write("REC.TXT", "earlier copy");
  s->ShowMapDigit = false;
  s->MapRight = 0;
  EXPECT_THROW(MacExport::CopyMaptoMac(*s, path), ExportRefused);
  EXPECT_EQ(testing::ReadFile(path), "earlier copy");

  s->MapRight = 300;
  s->MapBottom = 200;
  MacExport::CopyMaptoMac(*s, path);
  EXPECT_EQ(testing::ReadFile(path), "1\n" + kFrame300x200);
}

}  // namespace
}  // namespace velmora
