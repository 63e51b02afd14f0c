#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "input/DecimalNumber.h"

namespace velmora {

// The words of 64 characters of a line found at once, from masks of where the blanks, digits
// and points are; the plain decimals among them (a sign, up to eight digits, a point and up
// to eight digits) are read from those masks without looking at a character twice. Finding
// the next word takes a few bit operations and never waits for the reading of the one
// before, so the readings of neighbouring numbers overlap.
class DecimalBlock {
 public:
  static constexpr int kSize = 64;
  // Characters that must be readable from the block's start: the block itself and the eight
  // after it that the reading of a fraction near its end loads.
  static constexpr ptrdiff_t kReach = kSize + 16;

  enum class Word { kNone, kRunsOn, kFound };

  // `lineLeft`: characters of the line from `at` (those beyond count as blanks); `textStart`:
  // the first character that may be read, for integer parts near the start of the text.
  DecimalBlock(const char* at, ptrdiff_t lineLeft, const char* textStart);

  // The next word: kFound with [start, end) its place in the block; kRunsOn when it starts in
  // the block (at `start`) and ends beyond it; kNone when the rest of the block is blank.
  Word Next(int& start, int& end);
  // A plain decimal taken apart: its digits before and after the point as whole numbers (at
  // most fifteen digits in all).
  struct Decimal {
    uint64_t integer = 0;
    uint64_t fraction = 0;
    int decimals = 0;
    bool negative = false;
  };

  // Word [start, end) taken apart when it is a plain decimal the masks can read; false for
  // anything else, which the caller reads the general way.
  bool Split(int start, int end, Decimal& decimal) const;
  // The value of the text as a double: at most fifteen digits make a whole number and a power
  // of ten that are both exact, so their quotient is the correctly rounded value of the text.
  static double ValueOf(const Decimal& decimal);
  // The value rounded halves to even to a whole number, in integers, when that is what rounding
  // ValueOf gives: with at most six decimals (seven below 2^30, eight below 2^27) the double is
  // too close to the text to move onto or off a half, which lies 10^-decimals away. False
  // for larger numbers, which ValueOf must take.
  static bool Rounded(const Decimal& decimal, int32_t& whole);

 private:
  static constexpr int kMostDigits = 8;        // on either side of the point
  static constexpr int kMostExactDigits = 15;  // in all: the whole number stays below 2^53
  static constexpr uint64_t kEveryByte = 0x0101010101010101ULL;
  static constexpr double kPowersOfTen[kMostDigits + 1] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8};
  static constexpr uint64_t kWholePowersOfTen[kMostDigits + 1] = {1,      10,      100,      1000,     10000,
                                                                  100000, 1000000, 10000000, 100000000};

  // Eight characters as digit values, the one at the lowest address the most significant.
  static uint64_t DigitValues(const char* at) {
    uint64_t bytes;
    std::memcpy(&bytes, at, sizeof bytes);
    if constexpr (std::endian::native == std::endian::big) bytes = __builtin_bswap64(bytes);
    return bytes ^ (kEveryByte * '0');
  }

  // Bits [from, to) of a mask; `to` may be kSize.
  static uint64_t Bits(int from, int to) {
    const uint64_t below = to >= kSize ? ~uint64_t(0) : (uint64_t(1) << to) - 1;
    return below & ~((uint64_t(1) << from) - 1);
  }

  const char* at_;
  const char* textStart_;
  uint64_t space_ = 0;
  uint64_t digit_ = 0;
  uint64_t point_ = 0;
  uint64_t starts_ = 0;
};

inline DecimalBlock::Word DecimalBlock::Next(int& start, int& end) {
  if (starts_ == 0) return Word::kNone;
  start = std::countr_zero(starts_);
  const uint64_t after = space_ >> start;
  if (after == 0) return Word::kRunsOn;
  end = start + std::countr_zero(after);
  starts_ &= starts_ - 1;
  return Word::kFound;
}

inline bool DecimalBlock::Split(int start, int end, Decimal& decimal) const {
  const char sign = at_[start];
  const int first = start + int(sign == '-' || sign == '+');
  const uint64_t word = Bits(first, end);
  const uint64_t points = point_ & word;
  // Digits and at most one point, beginning and ending with a digit.
  if (first >= end || (word & ~(digit_ | points)) != 0 || (points & (points - 1)) != 0) return false;
  if (((digit_ >> first) & 1) == 0 || ((digit_ >> (end - 1)) & 1) == 0) return false;
  const int point = points == 0 ? end : std::countr_zero(points);
  const int integerDigits = point - first;
  const int decimals = points == 0 ? 0 : end - point - 1;
  if (integerDigits > kMostDigits || decimals > kMostDigits || integerDigits + decimals > kMostExactDigits ||
      at_ + point - kMostDigits < textStart_)
    return false;
  // The integer part is loaded so that it ends the eight characters; what comes before it is
  // masked to leading zeros. The fraction is loaded from its start and shifted to end them.
  decimal.integer = DecimalNumber::WholeOfEight(DigitValues(at_ + point - kMostDigits) &
                                                (~uint64_t(0) << (8 * (kMostDigits - integerDigits))));
  decimal.fraction =
      decimals == 0 ? 0 : DecimalNumber::WholeOfEight(DigitValues(at_ + point + 1) << (8 * (kMostDigits - decimals)));
  decimal.decimals = decimals;
  decimal.negative = sign == '-';
  return true;
}

inline double DecimalBlock::ValueOf(const Decimal& decimal) {
  const uint64_t whole = decimal.integer * kWholePowersOfTen[decimal.decimals] + decimal.fraction;
  const double magnitude = double(whole) / kPowersOfTen[decimal.decimals];
  return std::bit_cast<double>(std::bit_cast<uint64_t>(magnitude) | (uint64_t(decimal.negative) << 63));
}

inline bool DecimalBlock::Rounded(const Decimal& decimal, int32_t& whole) {
  constexpr uint64_t kBelowExactHalves[kMostDigits + 1] = {1u << 30, 1u << 30, 1u << 30, 1u << 30, 1u << 30,
                                                           1u << 30, 1u << 30, 1u << 30, 1u << 27};
  if (decimal.integer >= kBelowExactHalves[decimal.decimals]) return false;
  const uint64_t half = kWholePowersOfTen[decimal.decimals] / 2;  // 0 without decimals: no rounding
  const uint64_t tie = uint64_t(decimal.fraction == half && half != 0);
  const uint64_t up = uint64_t(decimal.fraction > half) | (tie & decimal.integer);
  const int64_t magnitude = int64_t(decimal.integer + (up & 1));
  whole = int32_t(decimal.negative ? -magnitude : magnitude);
  return true;
}

}  // namespace velmora
