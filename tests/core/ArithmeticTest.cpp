#include <gtest/gtest.h>

#include "core/Arithmetic.h"

namespace velmora {
namespace {

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
  EXPECT_EQ(RoundHalfEven(0.5), 0);
  EXPECT_EQ(RoundHalfEven(1.5), 2);
  EXPECT_EQ(RoundHalfEven(2.5), 2);
  EXPECT_EQ(RoundHalfEven(-0.5), 0);
  EXPECT_EQ(RoundHalfEven(-1.5), -2);
  EXPECT_EQ(RoundHalfEven(2.4999), 2);
  EXPECT_EQ(RoundHalfEven(-2.6), -3);
}

TEST(RoundedMean, AgreesWithRoundingTheRealMeanForEverySumNearZero) {
  for (int sum = -2000; sum <= 2000; ++sum)
    ASSERT_EQ(RoundedMean(sum, 20), RoundHalfEven(sum / 20.0)) << "sum " << sum;
}

TEST(RoundedMean, HalvesOfTwentiethsGoToEven) {
  EXPECT_EQ(RoundedMean(10, 20), 0);    // 0.5
  EXPECT_EQ(RoundedMean(30, 20), 2);    // 1.5
  EXPECT_EQ(RoundedMean(50, 20), 2);    // 2.5
  EXPECT_EQ(RoundedMean(-30, 20), -2);  // -1.5
  EXPECT_EQ(RoundedMean(-50, 20), -2);  // -2.5
  EXPECT_EQ(RoundedMean(20 * 32767, 20), 32767);
  EXPECT_EQ(RoundedMean(-20 * 32768, 20), -32768);
}

}  // namespace
}  // namespace velmora
