#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/AnalysisState.h"
#include "core/RecordingCanvas.h"
#include "maps/VelocityArrows.h"

namespace velmora {
namespace {

using Lines = std::vector<std::string>;

TEST(VelocityArrowsTest, DrawsSquaresWithASpeedOnly) {
  auto s = std::make_unique<AnalysisState>();
  SetDefaults(*s);
  s->NrCols = 3;
  s->NrRows = 2;
  for (int x = 1; x <= 3; ++x) {
    for (int y = 1; y <= 2; ++y) s->Square(x, y) = VelocityCell{};
  }
  VelocityCell& a = s->Square(2, 1);
  a.Speed = 25;
  a.StartX = 59, a.StartY = 35, a.EndX = 59, a.EndY = 25;
  a.Head1X = 64, a.Head1Y = 30, a.Head2X = 54, a.Head2Y = 30;
  // The last column starts no square, whatever its cell holds.
  s->Square(3, 1).Speed = 30;
  RecordingCanvas canvas;
  VelocityArrows::DrawArrows(*s, canvas);
  EXPECT_EQ(canvas.Lines(),
            (Lines{"pen 000000 1 copy", "line 59 35 59 25", "line 59 25 64 30", "line 59 25 54 30"}));
}

}  // namespace
}  // namespace velmora
