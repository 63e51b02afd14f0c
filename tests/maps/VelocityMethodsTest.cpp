#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <optional>

#include "core/AnalysisState.h"
#include "maps/MapDrawing.h"
#include "maps/MapFixture.h"
#include "maps/TimeGrid.h"
#include "maps/VelocityCalculation.h"
#include "maps/VelocityFit.h"
#include "maps/VelocitySmoothing.h"

namespace velmora {
namespace {

using testing::MapFixture;

// Times over a cols x rows grid from a function of the grid position.
TimeGrid GridOf(int cols, int rows, const std::function<double(double, double)>& time) {
  TimeGrid grid(cols, rows);
  for (int col = 1; col <= cols; ++col)
    for (int row = 1; row <= rows; ++row) grid.Set(col, row, time(col, row));
  return grid;
}

struct PlaneCase {
  double gx, gy;  // ms per cell along columns and rows
  int col, row;   // where the velocity is asked for
};

TEST(VelocityFitTest, APlaneGivesItsOwnSpeedAndDirectionAtEveryElectrode) {
  constexpr double kSpacing = 4;  // mm
  const VelocityFit::Settings plane{2, false, kSpacing};
  const VelocityFit::Settings curved{2, true, kSpacing};
  // Inside, at an edge and in a corner (where only a quarter of the neighbourhood exists).
  for (const PlaneCase& c : {PlaneCase{500, 0, 4, 4}, PlaneCase{-300, 400, 1, 4}, PlaneCase{250, -250, 7, 7},
                             PlaneCase{0, 571.4, 1, 1}}) {
    const TimeGrid times = GridOf(7, 7, [&](double x, double y) { return 20000 + c.gx * x + c.gy * y; });
    // 1 / |gradient| mm per ms, along the gradient.
    const double gx = c.gx / kSpacing, gy = c.gy / kSpacing, g2 = gx * gx + gy * gy;
    for (const VelocityFit::Settings& settings : {plane, curved}) {
      const std::optional<Velocity> v = VelocityFit::VelocityAt(times, c.col, c.row, settings);
      const bool corner = (c.col == 1 || c.col == 7) && (c.row == 1 || c.row == 7);
      if (settings.quadratic && corner) {
        EXPECT_FALSE(v) << "a corner holds too few times for a curved surface";
        continue;
      }
      ASSERT_TRUE(v) << c.gx << " " << c.gy << " at " << c.col << "," << c.row;
      EXPECT_NEAR(v->vx, gx / g2, 1e-9);
      EXPECT_NEAR(v->vy, gy / g2, 1e-9);
      EXPECT_NEAR(v->speed, 100 / std::sqrt(g2), 1e-6);
    }
  }
}

TEST(VelocityFitTest, TheCurvedSurfaceFollowsACurvedFrontWhereThePlaneCannot) {
  constexpr double kSpacing = 2;
  // t = 3x² + 2xy - y² + 40x + 10y: the gradient at (4, 1) is (6x + 2y + 40, 2x - 2y + 10) =
  // (66, 16) ms per cell. A plane gets it right only in the middle of a symmetric
  // neighbourhood, so the test asks at an edge.
  const TimeGrid times =
      GridOf(9, 9, [](double x, double y) { return 5000 + 3 * x * x + 2 * x * y - y * y + 40 * x + 10 * y; });
  const double gx = (6.0 * 4 + 2 * 1 + 40) / kSpacing, gy = (2.0 * 4 - 2 * 1 + 10) / kSpacing;
  const double g2 = gx * gx + gy * gy;
  const std::optional<Velocity> curved = VelocityFit::VelocityAt(times, 4, 1, {2, true, kSpacing});
  ASSERT_TRUE(curved);
  EXPECT_NEAR(curved->vx, gx / g2, 1e-9);
  EXPECT_NEAR(curved->vy, gy / g2, 1e-9);
  // The plane misses the curve by more than the fit allows, or points elsewhere.
  const std::optional<Velocity> plane = VelocityFit::VelocityAt(times, 4, 1, {2, false, kSpacing});
  EXPECT_TRUE(!plane || std::abs(plane->vy - gy / g2) > 1e-3);
}

TEST(VelocityFitTest, TooFewNeighboursOrNoSingleFrontGiveNoVelocity) {
  const VelocityFit::Settings settings{1, false, 1};
  // Radius 1 reaches the four nearest electrodes: five times with the electrode's own, one
  // short of what a plane needs.
  const TimeGrid full = GridOf(3, 3, [](double x, double y) { return 100 * x + 50 * y; });
  EXPECT_FALSE(VelocityFit::VelocityAt(full, 2, 2, settings));
  EXPECT_TRUE(VelocityFit::VelocityAt(full, 2, 2, {2, false, 1}));  // the corners make nine
  // Two fronts meeting in the middle column: a V that no plane describes.
  const TimeGrid collision = GridOf(5, 5, [](double x, double) { return 1000 + 300 * std::abs(x - 3); });
  EXPECT_FALSE(VelocityFit::VelocityAt(collision, 3, 3, {2, false, 1}));
  // An electrode without a time of its own gets no arrow, whatever its neighbours say.
  TimeGrid dead = full;
  dead.Set(2, 2, TimeGrid::kEmpty);
  EXPECT_FALSE(VelocityFit::VelocityAt(dead, 2, 2, {2, false, 1}));
}

TEST(VelocityFitTest, AFalseNeighbourIsLeftOutButAFalseOwnTimeGivesNothing) {
  const VelocityFit::Settings settings{2, true, 4};
  TimeGrid times = GridOf(7, 7, [](double x, double y) { return 3000 + 500 * x + 200 * y; });
  times.Set(5, 4, 1200);  // a dead electrode marked on noise
  const std::optional<Velocity> v = VelocityFit::VelocityAt(times, 4, 4, settings);
  ASSERT_TRUE(v);
  const double gx = 500 / 4.0, gy = 200 / 4.0, g2 = gx * gx + gy * gy;
  EXPECT_NEAR(v->vx, gx / g2, 1e-9);
  EXPECT_NEAR(v->vy, gy / g2, 1e-9);
  EXPECT_FALSE(VelocityFit::VelocityAt(times, 5, 4, settings));
}

TEST(VelocitySmoothingTest, KeepsAPlaneExactlyEvenBesideGapsAndAveragesAnOutlier) {
  TimeGrid plane = GridOf(5, 4, [](double x, double y) { return 300 * x - 120 * y + 2000; });
  plane.Set(3, 2, TimeGrid::kEmpty);
  const TimeGrid smoothed = VelocitySmoothing::Smoothed(plane);
  for (int col = 1; col <= 5; ++col) {
    for (int row = 1; row <= 4; ++row) {
      if (col == 3 && row == 2) {
        EXPECT_FALSE(smoothed.Has(col, row)) << "an empty cell stays empty";
      } else {
        EXPECT_DOUBLE_EQ(smoothed.At(col, row), plane.At(col, row)) << col << "," << row;
      }
    }
  }
  TimeGrid flat = GridOf(3, 3, [](double, double) { return 1000; });
  flat.Set(2, 2, 1090);
  EXPECT_DOUBLE_EQ(VelocitySmoothing::Smoothed(flat).At(2, 2), 1010);
}

class VelocityMethodTest : public MapFixture {
 protected:
  // A plane along the columns, 20 ms per 1 mm cell: 5 cm/s everywhere.
  void FillPlane() {
    s->ElectrodeDistance = 1;
    for (int col = 1; col <= 4; ++col)
      for (int row = 1; row <= 3; ++row) {
        Place(17 + (row - 1) * 4 + (col - 1), col, row);
        At(col, row).Value = 1000 + 20 * col;
      }
    MapDrawing::CalcCellSize(*s, 410, 310);
  }
};

TEST_F(VelocityMethodTest, TheFitPutsAnArrowAtTheCentreOfEveryElectrode) {
  FillPlane();
  s->VelocityMethod = 2;
  s->VelocityFitQuadratic = false;  // a corner of this small grid holds too few times for a curve
  EXPECT_EQ(VelocityCalculation::CalcVelocities(*s), 12);
  for (int col = 1; col <= 4; ++col) {
    for (int row = 1; row <= 3; ++row) {
      const VelocityCell& q = s->Square(col, row);
      const Point centre = MapDrawing::CellCentre(*s, col, row);
      EXPECT_NEAR(q.Speed, 5.0, 1e-9);
      EXPECT_EQ(q.StartX, centre.x);
      EXPECT_EQ(q.StartY, centre.y);
      EXPECT_GT(q.EndX, q.StartX);
      EXPECT_EQ(q.EndY, q.StartY);
    }
  }
}

TEST_F(VelocityMethodTest, SmoothedSquaresFillTheSquaresAndKeepTheSpeedLimit) {
  FillPlane();
  At(2, 2).Value = 1100;  // one late mark, 60 ms behind the front
  s->VelocityMethod = 0;
  VelocityCalculation::CalcVelocities(*s);
  const double rawSpeed = s->Square(1, 1).Speed;
  s->VelocityMethod = 1;
  EXPECT_EQ(VelocityCalculation::CalcVelocities(*s), 6);
  EXPECT_EQ(s->Square(4, 3).Speed, double(kNoValue));
  // The late mark pulls the smoothed times less far from the plane than the raw ones.
  EXPECT_LT(std::abs(s->Square(1, 1).Speed - 5.0), std::abs(rawSpeed - 5.0));
  s->LimitCondVel = true;
  s->MaxCondVel = 2;
  EXPECT_EQ(VelocityCalculation::CalcVelocities(*s), 0) << "every square runs at about 5 cm/s";
  s->VelocityMethod = 2;
  EXPECT_EQ(VelocityCalculation::CalcVelocities(*s), 0);
}

}  // namespace
}  // namespace velmora
