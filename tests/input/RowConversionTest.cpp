#include <gtest/gtest.h>

#include <vector>

#include "core/Arithmetic.h"
#include "input/RowConversion.h"

namespace velmora {
namespace {

TEST(SmoothedValue, EqualsTheRoundedMeanForEveryPossibleSumOfTwentySamples) {
  for (int32_t sum = -20 * 32768; sum <= 20 * 32767; ++sum)
    ASSERT_EQ(SmoothedValue(sum), RoundedMean(sum, 20)) << "sum " << sum;
}

TEST(RowConversion, CopyWidensSignedSamplesAndClearsColumnsBeyondTheFrame) {
  for (int width : {256, 250, 3}) {
    std::vector<int16_t> frame(256);
    for (int c = 0; c < 256; ++c) frame[size_t(c)] = int16_t(c % 2 ? -32768 + c : 32767 - c);
    alignas(16) int32_t row[256];
    for (int32_t& v : row) v = 99;
    RowConversion::CopyRow(frame.data(), width, row);
    RowConversion::Finish();
    for (int c = 0; c < 256; ++c) ASSERT_EQ(row[c], c < width ? frame[size_t(c)] : 0) << width << " " << c;
  }
}

TEST(RowConversion, SmoothWritesTheMeanThenSlidesTheSums) {
  for (int width : {256, 13}) {
    std::vector<int32_t> sums(256), expectedSums(256);
    std::vector<int16_t> entering(256), leaving(256);
    for (int c = 0; c < 256; ++c) {
      sums[size_t(c)] = (c - 128) * 5001 + (c % 3 ? 10 : -10);  // many halves among them
      entering[size_t(c)] = int16_t(-c * 100);
      leaving[size_t(c)] = int16_t(c * 77 - 9000);
      expectedSums[size_t(c)] = c < width ? sums[size_t(c)] + entering[size_t(c)] - leaving[size_t(c)] : sums[size_t(c)];
    }
    std::vector<int32_t> before = sums;
    alignas(16) int32_t row[256];
    RowConversion::SmoothRow(sums.data(), entering.data(), leaving.data(), width, row);
    RowConversion::Finish();
    for (int c = 0; c < 256; ++c) {
      ASSERT_EQ(row[c], c < width ? RoundedMean(before[size_t(c)], 20) : 0) << width << " " << c;
      ASSERT_EQ(sums[size_t(c)], expectedSums[size_t(c)]) << width << " " << c;
    }
  }
}

}  // namespace
}  // namespace velmora
