#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "marks/TracePoints.h"

namespace velmora {
namespace {

using Method = TracePoints::Method;

// The rule, written out with the library's rounding: halves to even in the default mode.
int ExpectedY(int yc, int32_t value, double offset, double amplification) {
  const double rounded = std::nearbyint((value - offset) * amplification);
  return yc - int(std::clamp(rounded, -1.0e9, 1.0e9));
}

TEST(TracePoints, PixelRoundRoundsHalvesToEven) {
  EXPECT_EQ(TracePoints::PixelRound(0.5), 0);
  EXPECT_EQ(TracePoints::PixelRound(1.5), 2);
  EXPECT_EQ(TracePoints::PixelRound(2.5), 2);
  EXPECT_EQ(TracePoints::PixelRound(-0.5), 0);
  EXPECT_EQ(TracePoints::PixelRound(-1.5), -2);
  EXPECT_EQ(TracePoints::PixelRound(-2.5), -2);
  EXPECT_EQ(TracePoints::PixelRound(2.4999), 2);
  EXPECT_EQ(TracePoints::PixelRound(-7.6), -8);
}

TEST(TracePoints, PixelRoundKeepsFarOffValuesAt1e9) {
  EXPECT_EQ(TracePoints::PixelRound(3.0e9), 1000000000);
  EXPECT_EQ(TracePoints::PixelRound(-3.0e9), -1000000000);
  EXPECT_EQ(TracePoints::PixelRound(1.0e9 + 0.7), 1000000000);
  EXPECT_EQ(TracePoints::PixelRound(1.0e300), 1000000000);
  EXPECT_EQ(TracePoints::PixelRound(-std::numeric_limits<double>::infinity()), -1000000000);
  EXPECT_EQ(TracePoints::PixelRound(999999999.4), 999999999);
}

TEST(TracePoints, OneByOneIsAlwaysAvailable) { EXPECT_TRUE(TracePoints::Available(Method::OneByOne)); }

class TracePointsMethods : public ::testing::TestWithParam<Method> {};

TEST_P(TracePointsMethods, EveryPointFollowsTheRule) {
  if (!TracePoints::Available(GetParam())) GTEST_SKIP() << "not on this processor";
  std::mt19937 random(11);
  // Halves come from offsets ending in .5 with an amplification of 1; 1e7 drives values past
  // the clamp in both directions.
  const double offsets[] = {0.0, 27.5, -1234.5, 3.25, 1.0 / 3};
  const double amplifications[] = {1.0, 0.01, -0.37, 2.0, 1.0e7};
  for (int count : {0, 1, 3, 4, 5, 13, 1001}) {
    std::vector<int32_t> values(static_cast<size_t>(count));
    std::vector<int> xs(static_cast<size_t>(count));
    for (int j = 0; j < count; ++j) {
      values[size_t(j)] = int32_t(random() % 65536) - 32768;
      xs[size_t(j)] = int(random() % 2000);
    }
    for (double offset : offsets) {
      for (double amplification : amplifications) {
        std::vector<Point> points(size_t(count) + 1, Point{-7, -7});
        TracePoints::PlaceWith(GetParam(), values.data(), xs.data(), count, offset, amplification, 450, points.data());
        for (int j = 0; j < count; ++j) {
          ASSERT_EQ(points[size_t(j)], (Point{xs[size_t(j)], ExpectedY(450, values[size_t(j)], offset, amplification)}))
              << "point " << j << " of " << count << ", offset " << offset << ", amplification " << amplification;
        }
        EXPECT_EQ(points[size_t(count)], (Point{-7, -7})) << "written past the last point";
      }
    }
  }
}

TEST_P(TracePointsMethods, ExactHalvesRoundToEven) {
  if (!TracePoints::Available(GetParam())) GTEST_SKIP() << "not on this processor";
  const std::vector<int32_t> values{10, 11, 12, 13, -10, -11, -12, -13};
  const std::vector<int> xs(values.size(), 0);
  std::vector<Point> points(values.size());
  TracePoints::PlaceWith(GetParam(), values.data(), xs.data(), int(values.size()), 0.5, 1.0, 0, points.data());
  // 9.5 -> 10, 10.5 -> 10, 11.5 -> 12, 12.5 -> 12, -10.5 -> -10, -11.5 -> -12, ...
  const std::vector<int> expected{-10, -10, -12, -12, 10, 12, 12, 14};
  for (size_t j = 0; j < values.size(); ++j) EXPECT_EQ(points[j].y, expected[j]) << "value " << values[j];
}

INSTANTIATE_TEST_SUITE_P(AllMethods, TracePointsMethods, ::testing::Values(Method::OneByOne, Method::By2, Method::By4),
                         [](const ::testing::TestParamInfo<Method>& info) {
                           return info.param == Method::OneByOne ? "OneByOne"
                                  : info.param == Method::By2    ? "By2"
                                                                 : "By4";
                         });

}  // namespace
}  // namespace velmora
