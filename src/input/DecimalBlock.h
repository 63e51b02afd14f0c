#pragma once

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "input/DecimalNumber.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#if defined(__SSSE3__) && defined(__x86_64__)
#include <tmmintrin.h>
#define VELMORA_DIGIT_SHUFFLES 1
#endif

namespace velmora {

// The words of 64 characters of a line found at once, from masks of where the blanks, digits,
// points and signs are; the plain decimals among them (a sign, up to eight digits, a point and
// up to eight digits) are read from those masks without looking at a character twice. Whether
// every word of the block is such a decimal is decided once for the whole block, so a block of
// plain numbers, nearly every block of a recording, reads its words without a look at each
// one's shape. Finding the next word takes a few bit operations and never waits for the
// reading of the one before, so the readings of neighbouring numbers overlap.
class DecimalBlock {
 public:
  static constexpr int kSize = 64;
  // Characters that must be readable from the block's start: the block itself and the sixteen
  // after it that the reading of a number near its end loads.
  static constexpr ptrdiff_t kReach = kSize + 16;

  enum class Word { kNone, kRunsOn, kFound };

  // `lineLeft`: characters of the line from `at` (those beyond count as blanks).
  DecimalBlock(const char* at, ptrdiff_t lineLeft);

  // The next word: kFound with [start, end) its place in the block; kRunsOn when it starts in
  // the block (at `start`) and ends beyond it; kNone when the rest of the block is blank.
  Word Next(int& start, int& end);
  // A plain decimal taken apart: its digits before the point as a whole number, and those after
  // it as a whole number of hundred-millionths (".25" gives 25,000,000).
  struct Decimal {
    uint64_t integer = 0;
    uint64_t fraction = 0;
    bool negative = false;
  };

  // Integer parts from here on would take hundred-millionths past 2^53.
  static constexpr uint64_t kLargestExactInteger = 90071992;

  // True when every word that ends in the block is a plain decimal it can read: those words
  // are then taken apart by Take without a look at their shape.
  bool AllPlain() const { return allPlain_; }
  // Word [start, end) taken apart when it is a plain decimal the block can read (up to eight
  // digits on either side of the point, fifteen in all); false for anything else, which the
  // caller reads the general way.
  bool Split(int start, int end, Decimal& decimal) const;
  // Word [start, end) of a block whose words are all plain, taken apart.
  void Take(int start, int end, Decimal& decimal) const;
  // The value of the text as a double, for integer parts below kLargestExactInteger: the whole
  // number of hundred-millionths stays below 2^53, so it and 10^8 are both exact and their
  // quotient is the correctly rounded value of the text.
  static double ValueOf(const Decimal& decimal) {
    const double magnitude = double(decimal.integer * kFractionUnits + decimal.fraction) / double(kFractionUnits);
    return std::bit_cast<double>(std::bit_cast<uint64_t>(magnitude) | (uint64_t(decimal.negative) << 63));
  }
  // The value rounded halves to even to a whole number, in integers. This is what rounding
  // ValueOf gives: the text lies at least 10^-8 from a half unless it is one, and the double
  // of a number below 2^27 lies within 2^-27 of the text, so it cannot cross a half.
  static int32_t Rounded(const Decimal& decimal) {
    // Up past a half, and on a half when that makes the result even: adding the odd bit of the
    // integer part moves exactly the halves of odd numbers past the half.
    constexpr uint64_t kHalf = kFractionUnits / 2;
    const uint64_t up = uint64_t(decimal.fraction + (decimal.integer & 1) > kHalf);
    const int64_t magnitude = int64_t(decimal.integer + up);
    const int64_t negative = int64_t(decimal.negative);
    return int32_t((magnitude ^ -negative) + negative);
  }

 private:
  static constexpr int kMostDigits = 8;       // on either side of the point
  static constexpr int kMostWordDigits = 15;  // in all: the word fits the sixteen characters read
  static constexpr uint64_t kFractionUnits = 100000000;
  static constexpr uint64_t kEveryByte = 0x0101010101010101ULL;

  // The digits of a word found to be a plain decimal, from `first` (after any sign).
  void Convert(int first, int integerDigits, int decimals, Decimal& decimal) const;

  // Eight characters as digit values, the one at the lowest address the most significant.
  static uint64_t DigitValues(const char* at) {
    uint64_t bytes;
    std::memcpy(&bytes, at, sizeof bytes);
    if constexpr (std::endian::native == std::endian::big) bytes = __builtin_bswap64(bytes);
    return bytes ^ (kEveryByte * '0');
  }

  // Whether the words that end in the block are all plain decimals within reach.
  bool WordsArePlain(uint64_t sign) const;

  // Bits [from, to) of a mask; `to` may be kSize.
  static uint64_t Bits(int from, int to) {
    const uint64_t below = to >= kSize ? ~uint64_t(0) : (uint64_t(1) << to) - 1;
    return below & ~((uint64_t(1) << from) - 1);
  }

  const char* at_;
  uint64_t space_ = 0;
  uint64_t digit_ = 0;
  uint64_t point_ = 0;
  uint64_t starts_ = 0;
  uint64_t minus_ = 0;
  uint64_t sign_ = 0;
  bool allPlain_ = false;
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
  // Digits and at most one point, beginning and ending with a digit (so at least one digit
  // comes before the point).
  if (first >= end || (word & ~(digit_ | points)) != 0 || (points & (points - 1)) != 0) return false;
  if (((digit_ >> first) & 1) == 0 || ((digit_ >> (end - 1)) & 1) == 0) return false;
  const int point = points == 0 ? end : std::countr_zero(points);
  const int integerDigits = point - first;
  const int decimals = points == 0 ? 0 : end - point - 1;
  if (integerDigits > kMostDigits || decimals > kMostDigits || integerDigits + decimals > kMostWordDigits)
    return false;
  Convert(first, integerDigits, decimals, decimal);
  decimal.negative = sign == '-';
  return true;
}

inline void DecimalBlock::Take(int start, int end, Decimal& decimal) const {
  const int first = start + int((sign_ >> start) & 1);
  const int length = end - first;
  // The point, or the end of the word when it has none.
  const int integerDigits = std::countr_zero((point_ >> first) | (uint64_t(1) << length));
  Convert(first, integerDigits, std::max(length - integerDigits - 1, 0), decimal);
  decimal.negative = ((minus_ >> start) & 1) != 0;
}

#if defined(VELMORA_DIGIT_SHUFFLES)
// Where each digit goes for a word of `integerDigits` and `decimals` read from its first digit:
// the integer digits end byte 7, the decimals start byte 8, every other byte is zeroed.
struct DigitPlacement {
  alignas(16) int8_t source[16];
};

constexpr auto kDigitPlacements = [] {
  constexpr int kSide = 9;
  std::array<DigitPlacement, kSide * kSide> placements{};
  for (int integerDigits = 0; integerDigits < kSide; ++integerDigits) {
    for (int decimals = 0; decimals < kSide; ++decimals) {
      int8_t* source = placements[size_t(integerDigits * kSide + decimals)].source;
      for (int k = 0; k < 8; ++k) {
        const int digit = integerDigits - 8 + k;
        source[k] = int8_t(digit >= 0 ? digit : -128);
        source[8 + k] = int8_t(k < decimals ? integerDigits + 1 + k : -128);
      }
    }
  }
  return placements;
}();

// Sixteen characters shuffled into place and summed pairwise in three multiply-adds: the
// integer part lands in the low 32 bits, the hundred-millionths in the high ones.
inline void DecimalBlock::Convert(int first, int integerDigits, int decimals, Decimal& decimal) const {
  const __m128i text = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at_ + first));
  const __m128i values = _mm_sub_epi8(text, _mm_set1_epi8('0'));
  const __m128i placement = _mm_load_si128(
      reinterpret_cast<const __m128i*>(kDigitPlacements[size_t(integerDigits * (kMostDigits + 1) + decimals)].source));
  const __m128i digits = _mm_shuffle_epi8(values, placement);
  const __m128i pairs = _mm_maddubs_epi16(digits, _mm_set1_epi16(0x010A));  // 10, 1
  const __m128i fours = _mm_madd_epi16(pairs, _mm_set1_epi32(0x00010064));  // 100, 1
  const __m128i eights = _mm_madd_epi16(_mm_packs_epi32(fours, fours), _mm_set1_epi32(0x00012710));  // 10000, 1
  const uint64_t both = uint64_t(_mm_cvtsi128_si64(eights));
  decimal.integer = uint32_t(both);
  decimal.fraction = both >> 32;
}
#else
// Both parts are loaded from their first digit; the integer part is shifted to end the eight
// characters behind leading zeros, what follows the decimals is masked to trailing zeros.
inline void DecimalBlock::Convert(int first, int integerDigits, int decimals, Decimal& decimal) const {
  const char* const digits = at_ + first;
  decimal.integer = DecimalNumber::WholeOfEight(DigitValues(digits) << (8 * (kMostDigits - integerDigits)));
  const uint64_t kept = decimals == kMostDigits ? ~uint64_t(0) : (uint64_t(1) << (8 * decimals)) - 1;
  decimal.fraction = DecimalNumber::WholeOfEight(DigitValues(digits + integerDigits + 1) & kept);
}
#endif

namespace block_masks {

struct Masks {
  uint64_t space = 0, digit = 0, point = 0, minus = 0, plus = 0;
};

#if defined(__SSE2__)
inline Masks MasksOf(const char* at) {
  Masks masks;
  for (int part = 0; part < DecimalBlock::kSize / 16; ++part) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + 16 * part));
    const __m128i fromTab = _mm_sub_epi8(bytes, _mm_set1_epi8('\t'));  // \t \n \v \f \r become 0..4
    const __m128i control = _mm_cmpeq_epi8(_mm_min_epu8(fromTab, _mm_set1_epi8(4)), fromTab);
    const __m128i space = _mm_or_si128(control, _mm_cmpeq_epi8(bytes, _mm_set1_epi8(' ')));
    const __m128i fromZero = _mm_sub_epi8(bytes, _mm_set1_epi8('0'));
    const __m128i digit = _mm_cmpeq_epi8(_mm_min_epu8(fromZero, _mm_set1_epi8(9)), fromZero);
    const __m128i point = _mm_cmpeq_epi8(bytes, _mm_set1_epi8('.'));
    const __m128i minus = _mm_cmpeq_epi8(bytes, _mm_set1_epi8('-'));
    const __m128i plus = _mm_cmpeq_epi8(bytes, _mm_set1_epi8('+'));
    const int shift = 16 * part;
    masks.space |= uint64_t(uint32_t(_mm_movemask_epi8(space))) << shift;
    masks.digit |= uint64_t(uint32_t(_mm_movemask_epi8(digit))) << shift;
    masks.point |= uint64_t(uint32_t(_mm_movemask_epi8(point))) << shift;
    masks.minus |= uint64_t(uint32_t(_mm_movemask_epi8(minus))) << shift;
    masks.plus |= uint64_t(uint32_t(_mm_movemask_epi8(plus))) << shift;
  }
  return masks;
}
#else
inline bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

inline Masks MasksOf(const char* at) {
  Masks masks;
  for (int i = 0; i < 64; ++i) {
    masks.space |= uint64_t(IsSpace(at[i])) << i;
    masks.digit |= uint64_t(unsigned(at[i] - '0') < 10u) << i;
    masks.point |= uint64_t(at[i] == '.') << i;
    masks.minus |= uint64_t(at[i] == '-') << i;
    masks.plus |= uint64_t(at[i] == '+') << i;
  }
  return masks;
}
#endif

}  // namespace block_masks

inline DecimalBlock::DecimalBlock(const char* at, ptrdiff_t lineLeft) : at_(at) {
  const block_masks::Masks masks = block_masks::MasksOf(at);
  const uint64_t beyond = lineLeft >= kSize ? 0 : ~uint64_t(0) << lineLeft;
  space_ = masks.space | beyond;
  digit_ = masks.digit & ~beyond;
  point_ = masks.point & ~beyond;
  minus_ = masks.minus & ~beyond;
  sign_ = minus_ | (masks.plus & ~beyond);
  // A word starts where a blank is followed by something else, or at the block's start: the
  // block begins at the line's start, after a word, or at a word.
  starts_ = ~space_ & ((space_ << 1) | 1);
  allPlain_ = WordsArePlain(sign_);
}

// Each rule is a mask of the characters that break it; only the words before the last blank
// count, the one after it runs on into the next block.
inline bool DecimalBlock::WordsArePlain(uint64_t sign) const {
  if (space_ == 0) return false;
  const uint64_t lastBlank = uint64_t(1) << (63 - std::countl_zero(space_));
  const uint64_t complete = lastBlank | (lastBlank - 1);
  const uint64_t other = ~(space_ | digit_ | point_ | sign);
  const uint64_t misplacedSign = (sign & ~starts_) | (sign & ~(digit_ >> 1));
  const uint64_t misplacedPoint = (point_ & ~(digit_ << 1)) | (point_ & ~(digit_ >> 1));
  // Adding one just after each point runs through the digits that follow it and stops on the
  // next character that is none: a point there is a second one in the word.
  const uint64_t secondPoint = (digit_ + (point_ << 1)) & ~digit_ & point_;
  // Runs of nine digits (a part too long) and of seventeen characters (beyond the reach of one
  // reading), marked at their first character.
  const uint64_t digits2 = digit_ & (digit_ >> 1), digits4 = digits2 & (digits2 >> 2);
  const uint64_t nineDigits = digits4 & (digits4 >> 4) & (digit_ >> 8);
  const uint64_t word = ~space_, word2 = word & (word >> 1), word4 = word2 & (word2 >> 2);
  const uint64_t word8 = word4 & (word4 >> 4);
  const uint64_t seventeen = word8 & (word8 >> 8) & (word >> 16);
  return ((other | misplacedSign | misplacedPoint | secondPoint | nineDigits | seventeen) &
          complete) == 0;
}

}  // namespace velmora
