#include <gtest/gtest.h>

#include "core/AnalysisState.h"
#include "maps/ArrowGeometry.h"
#include "maps/MapComputation.h"
#include "maps/MapFixture.h"
#include "maps/VelocityCalculation.h"

namespace velmora {
namespace {

using testing::MapFixture;

TEST(SquareVelocityTest, AGradientAlongTheColumnsGivesSpeedInCentimetresPerSecond) {
  // Right-hand column 10 ms later, electrodes 1 mm apart: 10 ms/mm, 0.1 mm/ms, 10 cm/s.
  const auto v = VelocityCalculation::SquareVelocity(0, 10, 10, 0, 1.0, 1);
  ASSERT_TRUE(v);
  EXPECT_DOUBLE_EQ(v->vx, 0.1);
  EXPECT_DOUBLE_EQ(v->vy, 0.0);
  EXPECT_NEAR(v->speed, 10.0, 1e-12);
}

TEST(SquareVelocityTest, MissingCornersFlatTimesAndNoDistanceGiveNothing) {
  EXPECT_FALSE(VelocityCalculation::SquareVelocity(kNoValue, 10, 10, 0, 1.0, 1));
  EXPECT_FALSE(VelocityCalculation::SquareVelocity(0, 10, kAltNoValue, 0, 1.0, 1));
  EXPECT_FALSE(VelocityCalculation::SquareVelocity(50, 50, 50, 50, 1.0, 1));
  EXPECT_FALSE(VelocityCalculation::SquareVelocity(0, 10, 10, 0, 0.0, 1));
  EXPECT_FALSE(VelocityCalculation::SquareVelocity(0, 10, 10, 0, 1.0, 0));
}

TEST(SquareVelocityTest, ALaterTopRowPointsUp) {
  // A, B bottom at 0; C, D top at 10: the wave runs from bottom to top.
  const auto v = VelocityCalculation::SquareVelocity(0, 0, 10, 10, 1.0, 1);
  ASSERT_TRUE(v);
  EXPECT_DOUBLE_EQ(v->vx, 0.0);
  EXPECT_DOUBLE_EQ(v->vy, -0.1);
}

TEST(ArrowGeometryTest, HeadsOfAnArrowToTheRightAndOfOneUpward) {
  const PixelPoint start{100, 100};
  const PixelPoint right{110, 100};
  const auto head = ArrowGeometry::ArrowHead(start, right);
  EXPECT_EQ(head.first, (PixelPoint{105, 105}));
  EXPECT_EQ(head.second, (PixelPoint{105, 95}));
  EXPECT_DOUBLE_EQ(ArrowGeometry::ArrowDirection(start, right), 0.0);

  const PixelPoint up{100, 90};
  const auto upHead = ArrowGeometry::ArrowHead(start, up);
  EXPECT_EQ(upHead.first, (PixelPoint{105, 95}));
  EXPECT_EQ(upHead.second, (PixelPoint{95, 95}));
  EXPECT_DOUBLE_EQ(ArrowGeometry::ArrowDirection(start, up), 90.0);
}

TEST(ArrowGeometryTest, LeftAndDownwardArrows) {
  const PixelPoint start{50, 50};
  const auto left = ArrowGeometry::ArrowHead(start, {40, 50});
  EXPECT_EQ(left.first, (PixelPoint{45, 55}));
  EXPECT_EQ(left.second, (PixelPoint{45, 45}));
  EXPECT_DOUBLE_EQ(ArrowGeometry::ArrowDirection(start, {40, 50}), 180.0);
  const auto down = ArrowGeometry::ArrowHead(start, {50, 60});
  EXPECT_EQ(down.first, (PixelPoint{45, 55}));
  EXPECT_EQ(down.second, (PixelPoint{55, 55}));
  EXPECT_DOUBLE_EQ(ArrowGeometry::ArrowDirection(start, {50, 60}), 270.0);
  EXPECT_DOUBLE_EQ(ArrowGeometry::ArrowDirection(start, start), 0.0);
}

TEST(ArrowGeometryTest, DiagonalArrowsFallInTheirQuadrant) {
  const PixelPoint start{0, 0};
  // Down and to the right on screen: 45 degrees below screen-right.
  const auto head = ArrowGeometry::ArrowHead(start, {10, 10});
  // 5 x (cos, sin) of 0.785 -+ 0.5 is (4.80, 1.41) and (1.41, 4.80).
  EXPECT_EQ(head.first, (PixelPoint{5, 9}));
  EXPECT_EQ(head.second, (PixelPoint{9, 5}));
  // The quadrants are turned with 3.1417 and 6.2834, so they sit a hair past the true
  // angles: 315 + (6.2834 - 2 pi) x 180 / pi = 315.0123, 135 + (3.1417 - pi) x 180 / pi = 135.0062.
  EXPECT_NEAR(ArrowGeometry::ArrowDirection(start, {10, 10}), 315.0123, 0.0001);
  EXPECT_NEAR(ArrowGeometry::ArrowDirection(start, {10, -10}), 45.0, 1e-9);
  EXPECT_NEAR(ArrowGeometry::ArrowDirection(start, {-10, -10}), 135.0062, 0.0001);
  EXPECT_NEAR(ArrowGeometry::ArrowDirection(start, {-10, 10}), 225.0062, 0.0001);
}

class VelocityGridTest : public MapFixture {
 protected:
  void SetUp() override {
    MapFixture::SetUp();
    s->NrCols = 3;
    s->NrRows = 3;
    s->IncVel = 1;
    s->ElectrodeDistance = 1.0;
    s->ArrowSize = 100;
    s->CellWidth = 25;
    s->CellHeight = 25;
    s->MapLeft = 10;
    s->MapTop = 10;
    s->MapRight = 85;
    s->MapBottom = 85;
    s->LimitCondVel = false;
  }
  // Times rising 10 ms per column: the same velocity in every square.
  void ColumnRamp() {
    for (int x = 1; x <= 3; ++x)
      for (int y = 1; y <= 3; ++y) At(x, y).Value = 10 * (x - 1);
  }
};

TEST_F(VelocityGridTest, EverySquareGetsSpeedDirectionAndArrowPoints) {
  ColumnRamp();
  EXPECT_EQ(VelocityCalculation::CalcVelocities(*s), 4);
  const VelocityCell& square = s->Square(1, 1);
  EXPECT_NEAR(square.Speed, 10.0, 1e-12);
  EXPECT_DOUBLE_EQ(square.Direction, 0.0);
  // The corner shared by the four cells: right edge one pixel in, bottom edge not.
  EXPECT_EQ(square.StartX, 34);
  EXPECT_EQ(square.StartY, 35);
  EXPECT_EQ(square.EndX, 44);
  EXPECT_EQ(square.EndY, 35);
  EXPECT_EQ(square.Head1X, 39);
  EXPECT_EQ(square.Head1Y, 40);
  EXPECT_EQ(square.Head2X, 39);
  EXPECT_EQ(square.Head2Y, 30);
  EXPECT_EQ(s->Square(3, 3).Speed, double(kNoValue));  // no square beyond the last column
}

TEST_F(VelocityGridTest, AStepOfTwoStartsHalfwayAcrossTheSquare) {
  ColumnRamp();
  s->IncVel = 2;
  EXPECT_EQ(VelocityCalculation::CalcVelocities(*s), 1);
  // 34 + round(12.5) with halves to even = 46.
  EXPECT_EQ(s->Square(1, 1).StartX, 46);
  EXPECT_EQ(s->Square(1, 1).StartY, 47);
  EXPECT_NEAR(s->Square(1, 1).Speed, 10.0, 1e-12);
}

TEST_F(VelocityGridTest, ArrowsLongerThanTheGridEndAtItsEdge) {
  // A grid of 75 x 75 pixels from (10, 10); the corner of square (1, 1) is (34, 35). Every
  // arrow below is 7 cm/s or more: 140 pixels or more at this arrow size.
  const struct {
    int rightward, downward;  // ms per column and per row
    int tipX, tipY;
  } cases[] = {
      {10, 0, 85, 35},    // to the right
      {-10, 0, 10, 35},   // to the left
      {0, -10, 34, 10},   // upward: the later times are above
      {10, 10, 84, 85},   // down and right, cut at the bottom edge
  };
  s->ArrowSize = 2000;
  for (const auto& c : cases) {
    for (int x = 1; x <= 3; ++x)
      for (int y = 1; y <= 3; ++y) At(x, y).Value = 100 + c.rightward * (x - 1) + c.downward * (y - 1);
    ASSERT_EQ(VelocityCalculation::CalcVelocities(*s), 4);
    const VelocityCell& q = s->Square(1, 1);
    SCOPED_TRACE(::testing::Message() << "ms per column " << c.rightward << ", per row " << c.downward);
    EXPECT_EQ(q.StartX, 34);
    EXPECT_EQ(q.StartY, 35);
    EXPECT_EQ(q.EndX, c.tipX);
    EXPECT_EQ(q.EndY, c.tipY);
    for (int x : {q.Head1X, q.Head2X}) EXPECT_TRUE(x >= 10 && x <= 85) << x;
    for (int y : {q.Head1Y, q.Head2Y}) EXPECT_TRUE(y >= 10 && y <= 85) << y;
    EXPECT_GT(q.Speed, 7.0);  // the speed is the whole arrow's
  }
  EXPECT_NEAR(s->Square(1, 1).Direction, 315.0, 0.05);
}

TEST_F(VelocityGridTest, ASquareOfExactlyTheMaximumIsRejected) {
  s->ElectrodeDistance = 2.0;
  At(1, 1).Value = 0, At(1, 2).Value = 0, At(2, 1).Value = 1, At(2, 2).Value = 1;  // 200 cm/s
  s->NrCols = 2;
  s->NrRows = 2;
  s->LimitCondVel = true;
  s->MaxCondVel = 200;
  EXPECT_EQ(VelocityCalculation::CalcVelocities(*s), 0);
  EXPECT_EQ(s->Square(1, 1).Speed, double(kNoValue));
  s->MaxCondVel = 201;
  EXPECT_EQ(VelocityCalculation::CalcVelocities(*s), 1);
  EXPECT_DOUBLE_EQ(s->Square(1, 1).Speed, 200.0);
}

TEST_F(VelocityGridTest, EmptyCornersFlatSquaresAndZeroDistanceGiveNoSpeed) {
  ColumnRamp();
  At(2, 2).Value = kNoValue;
  EXPECT_EQ(VelocityCalculation::CalcVelocities(*s), 0);
  for (int x = 1; x <= 3; ++x)
    for (int y = 1; y <= 3; ++y) At(x, y).Value = 70;
  EXPECT_EQ(VelocityCalculation::CalcVelocities(*s), 0);
  ColumnRamp();
  s->ElectrodeDistance = 0;
  EXPECT_EQ(VelocityCalculation::CalcVelocities(*s), 0);
  s->ElectrodeDistance = 1;
  s->IncVel = 0;
  EXPECT_EQ(VelocityCalculation::CalcVelocities(*s), 0);
  EXPECT_EQ(s->Square(1, 1).Speed, double(kNoValue));
}

TEST_F(VelocityGridTest, TheVelocityMapKeepsItsValuesFromOneRedrawToTheNext) {
  // Four electrodes in a square, the right pair 10 ms after the left pair.
  Place(17, 1, 1), Place(18, 2, 1), Place(19, 1, 2), Place(20, 2, 2);
  AddMark(17, kSlowWave, 1000), AddMark(19, kSlowWave, 1000);
  AddMark(18, kSlowWave, 1010), AddMark(20, kSlowWave, 1010);
  s->CurMapKind = 6;
  for (int redraw = 0; redraw < 2; ++redraw) {
    MapComputation::FillMapGrid(*s);
    EXPECT_NEAR(At(1, 1).Velocity, 10.0, 1e-12) << "redraw " << redraw;
    EXPECT_EQ(At(2, 2).Velocity, double(kNoValue));  // its square runs off the electrodes
  }
}

}  // namespace
}  // namespace velmora
