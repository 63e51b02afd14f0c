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
  // The value of word [start, end) when it is a plain decimal the masks can read; false for
  // anything else, which the caller reads the general way.
  bool Read(int start, int end, double& value) const;

 private:
  static constexpr int kMostDigits = 8;  // on either side of the point
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

inline bool DecimalBlock::Read(int start, int end, double& value) const {
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
  if (integerDigits > kMostDigits || decimals > kMostDigits || at_ + point - kMostDigits < textStart_) return false;
  // The integer part is loaded so that it ends the eight characters; what comes before it is
  // masked to leading zeros. The fraction is loaded from its start and shifted to end them.
  const uint64_t integer =
      DigitValues(at_ + point - kMostDigits) & (~uint64_t(0) << (8 * (kMostDigits - integerDigits)));
  uint64_t whole = DecimalNumber::WholeOfEight(integer);
  if (decimals > 0) {
    const uint64_t fraction = DigitValues(at_ + point + 1) << (8 * (kMostDigits - decimals));
    whole = whole * kWholePowersOfTen[decimals] + DecimalNumber::WholeOfEight(fraction);
  }
  // At most sixteen digits: the whole number and the power of ten are exact, and so the
  // quotient is the correctly rounded value of the text.
  const double magnitude = double(whole) / kPowersOfTen[decimals];
  value = std::bit_cast<double>(std::bit_cast<uint64_t>(magnitude) | (uint64_t(sign == '-') << 63));
  return true;
}

}  // namespace velmora
