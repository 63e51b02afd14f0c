#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <vector>

#include "core/AnalysisState.h"
#include "marks/SignalWindowSums.h"
#include "support/ScrambledSignals.h"

namespace velmora {
namespace {

class SignalWindowSumsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::FillScrambledSignals(*s);
  }
  int64_t DirectSum(int column, int firstRow, int endRow) const {
    int64_t sum = 0;
    for (int row = firstRow; row < endRow; ++row) sum += std::as_const(*s).Signal(row, column);
    return sum;
  }
  // Checks the sums of `columns` over rows firstRow .. endRow - 1 against a plain sum.
  void ExpectDirectSums(int firstRow, int endRow, const std::vector<int>& columns) {
    SignalWindowSums::Columns asked;
    for (int column : columns) asked.set(size_t(column));
    const auto& got = sums.Sums(firstRow, endRow, asked);
    for (int column : columns)
      EXPECT_EQ(got[size_t(column)], DirectSum(column, firstRow, endRow))
          << "column " << column << " rows " << firstRow << ".." << endRow;
  }

  std::unique_ptr<AnalysisState> s = std::make_unique<AnalysisState>();
  SignalWindowSums sums{*s};
  const std::vector<int> someColumns{0, 15, 16, 17, 100, 254, 255};
};

TEST_F(SignalWindowSumsTest, WindowsStartingAndEndingInsideBlocksMatchAPlainSum) {
  ExpectDirectSums(10, 1000, someColumns);
  ExpectDirectSums(63, 129, someColumns);
  ExpectDirectSums(1, 65534, someColumns);
  ExpectDirectSums(10000, 14000, someColumns);
}

TEST_F(SignalWindowSumsTest, WindowsOfWholeBlocksMatchAPlainSum) {
  ExpectDirectSums(64, 128, someColumns);  // exactly one block
  ExpectDirectSums(0, 64, someColumns);
  ExpectDirectSums(0, 6400, someColumns);
  ExpectDirectSums(0, 65472, someColumns);  // every whole block of the store
}

TEST_F(SignalWindowSumsTest, WindowsShorterThanABlockMatchAPlainSum) {
  ExpectDirectSums(70, 90, someColumns);   // inside one block
  ExpectDirectSums(60, 70, someColumns);   // across a block boundary, no whole block
  ExpectDirectSums(65, 128, someColumns);  // one row short of a whole block
  ExpectDirectSums(5, 6, someColumns);     // a single row
}

TEST_F(SignalWindowSumsTest, AnEmptyWindowSumsToZero) {
  SignalWindowSums::Columns asked;
  asked.set(20);
  EXPECT_EQ(sums.Sums(500, 500, asked)[20], 0);
  EXPECT_EQ(sums.Sums(600, 500, asked)[20], 0);
}

TEST_F(SignalWindowSumsTest, WindowsEndingAtTheEndOfTheStoreMatchAPlainSum) {
  ExpectDirectSums(1000, kStartSignalRows, someColumns);  // the last rows make no whole block
  ExpectDirectSums(65472, kStartSignalRows, someColumns);
  SignalWindowSums::Columns asked;
  asked.set(40);
  EXPECT_EQ(sums.Sums(1000, kStartSignalRows + 500, asked)[40], DirectSum(40, 1000, kStartSignalRows));
}

TEST_F(SignalWindowSumsTest, OnlyTheAskedColumnsAreGiven) {
  SignalWindowSums::Columns asked;
  asked.set(17);
  const auto& got = sums.Sums(0, 20000, asked);
  EXPECT_EQ(got[17], DirectSum(17, 0, 20000));
  EXPECT_EQ(got[16], 0);  // same line of the row, not asked
  EXPECT_EQ(got[18], 0);
  EXPECT_EQ(got[200], 0);
}

TEST_F(SignalWindowSumsTest, OverlappingWindowsOneAfterAnotherMatchAPlainSum) {
  std::mt19937 random(7);
  for (int n = 0; n < 300; ++n) {
    const int firstRow = int(random() % kStartSignalRows);
    const int endRow = firstRow + int(random() % uint32_t(kStartSignalRows - firstRow + 1));
    std::vector<int> columns;
    for (int k = 0, count = 1 + int(random() % 4); k < count; ++k) columns.push_back(int(random() % kChannels));
    ExpectDirectSums(firstRow, endRow, columns);
  }
}

TEST_F(SignalWindowSumsTest, SamplesAtTheLimitsSumExactlyOverTheWholeStore) {
  constexpr int32_t kHighest = (1 << 18) - 1, kLowest = -(1 << 18);
  for (int row = 0; row < kStartSignalRows; ++row) {
    s->Signal(row, 30) = kHighest;
    s->Signal(row, 31) = kLowest;
  }
  SignalWindowSums::Columns asked;
  asked.set(30);
  asked.set(31);
  const auto& got = sums.Sums(0, kStartSignalRows, asked);
  EXPECT_EQ(got[30], int64_t(kHighest) * kStartSignalRows);
  EXPECT_EQ(got[31], int64_t(kLowest) * kStartSignalRows);
}

TEST_F(SignalWindowSumsTest, KeptSumsFollowASampleWrittenThroughSignal) {
  SignalWindowSums::Columns asked;
  asked.set(50);
  const int64_t before = sums.Sums(0, 60000, asked)[50];
  s->Signal(1000, 50) += 7;  // inside a whole block
  EXPECT_EQ(sums.Sums(0, 60000, asked)[50], before + 7);
}

TEST_F(SignalWindowSumsTest, KeptSumsFollowTheStoreWrittenDirectlyOnceTheChangeIsTold) {
  SignalWindowSums::Columns asked;
  asked.set(50);
  asked.set(51);
  sums.Sums(0, 60000, asked);
  for (int row = 0; row < 60000; ++row) s->Signals[size_t(row) * kChannels + 51] = 3;
  s->SignalsChanged();
  EXPECT_EQ(sums.Sums(0, 60000, asked)[51], 3 * 60000);
  EXPECT_EQ(sums.Sums(0, 60000, asked)[50], DirectSum(50, 0, 60000));
}

}  // namespace
}  // namespace velmora
