#include <gtest/gtest.h>

#include "maps/CellDigits.h"

namespace velmora {
namespace {

TEST(CellDigitsTest, TimesInEachDigitFormat) {
  EXPECT_EQ(CellDigits::IntegerText(1234, 0), "1234");
  EXPECT_EQ(CellDigits::IntegerText(1234, 1), "1.234");
  EXPECT_EQ(CellDigits::IntegerText(1234, 2), "1.23");
  EXPECT_EQ(CellDigits::IntegerText(1234, 3), "1.2");
  EXPECT_EQ(CellDigits::IntegerText(1234, 4), "1");
  EXPECT_EQ(CellDigits::IntegerText(-250, 2), "-0.25");
  EXPECT_EQ(CellDigits::IntegerText(1234, 9), "1234");
}

TEST(CellDigitsTest, RealValuesKeepTheirFraction) {
  EXPECT_EQ(CellDigits::RealText(0.4, 2), "0.40");
  EXPECT_EQ(CellDigits::RealText(12.3456, 3), "12.3");
  EXPECT_EQ(CellDigits::RealText(12.3456, 1), "12.346");
  // The plain format rounds halves to the even neighbour.
  EXPECT_EQ(CellDigits::RealText(2.5, 0), "2");
  EXPECT_EQ(CellDigits::RealText(3.5, 0), "4");
}

TEST(CellDigitsTest, AtMostSevenSignificantDigits) {
  EXPECT_EQ(CellDigits::FixedText(12345.6789, 3), "12345.680");
  EXPECT_EQ(CellDigits::FixedText(1234567.8, 2), "1234568.00");
  EXPECT_EQ(CellDigits::FixedText(123456789.0, 2), "1.234568E+08");
}

}  // namespace
}  // namespace velmora
