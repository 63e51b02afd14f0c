#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string_view>

namespace velmora {

// Reads the plain decimals text recordings are made of ("-0.000123", "17.5", "42") much faster
// than a general parser, giving the same double: the digits form a whole number of at most
// 2^53 and the point divides it by a power of ten of at most 10^22, both exact in a double,
// so their quotient is the correctly rounded value of the text.
class DecimalNumber {
 public:
  struct Plain {
    double value = 0;
    size_t length = 0;  // characters read
  };

  // The plain decimal [+-]digits[.digits] that `text` begins with, read up to the first
  // character that cannot continue it; nothing when it does not begin with one within those
  // bounds (".5", "5.", more than 19 digits), which a general parser must then decide. The
  // caller decides whether the character after it may end a number ("1.5e3" gives 1.5).
  static std::optional<Plain> ParsePrefix(std::string_view text);

  // The same reading over [at, end) for loops that read millions of numbers: where the plain
  // decimal ends, or nullptr when the text does not begin with one.
  static const char* Parse(const char* at, const char* end, double& value) {
    if (end - at >= kWideReach) return ParseWide(at, end, value);
    return ParseNarrow(at, end, value);
  }

  // The whole number of eight digit values (as loaded from memory, the one at the lowest
  // address the most significant), summed pairwise in three multiplications.
  static uint64_t WholeOfEight(uint64_t values) {
    uint64_t v = values * 10 + (values >> 8);
    v = (((v & 0x000000FF000000FFULL) * (100 + (1000000ULL << 32))) +
         (((v >> 16) & 0x000000FF000000FFULL) * (1 + (10000ULL << 32)))) >> 32;
    return v;
  }

 private:
  static constexpr uint64_t kLargestExactWhole = uint64_t(1) << 53;
  static constexpr size_t kMostDigits = 19;  // a whole number of 19 digits still fits 64 bits
  static constexpr std::array<double, 23> kPowersOfTen = {
      1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
      1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
  static constexpr std::array<uint64_t, 8> kWholePowersOfTen = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000};
  // A sign, eight digits, a point and eight digits: what the wide reading may look at.
  static constexpr ptrdiff_t kWideReach = 18;
  static constexpr uint64_t kEveryByte = 0x0101010101010101ULL;

  // Eight characters at once, as their digit values where they are digits.
  static uint64_t LoadDigitValues(const char* at) {
    uint64_t bytes;
    std::memcpy(&bytes, at, sizeof bytes);
    return bytes ^ (kEveryByte * '0');
  }

  // How many of the eight leading characters are digits (8 when all are).
  static int LeadingDigits(uint64_t values) {
    const uint64_t notDigit = (((values & (kEveryByte * 0x7F)) + kEveryByte * 0x76) | values) & (kEveryByte * 0x80);
    return notDigit == 0 ? 8 : __builtin_ctzll(notDigit) >> 3;
  }

  // The whole number of the first `count` digit values (1..7), most significant first.
  static uint64_t WholeOf(uint64_t values, int count) {
    return WholeOfEight(values << (64 - 8 * count));  // the digits, behind leading zeros
  }

  // The reading of a number with at least kWideReach characters after its start, without a
  // branch per digit: eight characters are tested and summed at once. Numbers of eight or more
  // digits on either side of the point are left to the narrow reading.
  static const char* ParseWide(const char* const start, const char* const end, double& value) {
    const char* at = start;
    const bool negative = *at == '-';
    at += (*at == '-') | (*at == '+');
    const uint64_t integer = LoadDigitValues(at);
    const int integerDigits = LeadingDigits(integer);
    if (integerDigits == 0) return nullptr;
    if (integerDigits == 8) return ParseNarrow(start, end, value);
    uint64_t whole = WholeOf(integer, integerDigits);
    at += integerDigits;
    int decimals = 0;
    if (*at == '.') {
      const uint64_t fraction = LoadDigitValues(++at);
      decimals = LeadingDigits(fraction);
      if (decimals == 0) return nullptr;
      if (decimals == 8) return ParseNarrow(start, end, value);
      whole = whole * kWholePowersOfTen[decimals] + WholeOf(fraction, decimals);
      at += decimals;
    }
    value = Signed(double(whole) / kPowersOfTen[decimals], negative);
    return at;
  }

  // The sign set without a branch: recordings flip sign at random, which a branch mispredicts.
  static double Signed(double magnitude, bool negative) {
    return std::bit_cast<double>(std::bit_cast<uint64_t>(magnitude) | (uint64_t(negative) << 63));
  }

  static const char* ParseNarrow(const char* at, const char* end, double& value) {
    const bool negative = at != end && *at == '-';
    if (at != end && (*at == '-' || *at == '+')) ++at;
    uint64_t whole = 0;
    const char* const integerStart = at;
    at = ReadDigits(at, end, whole);
    const size_t integerDigits = size_t(at - integerStart);
    size_t decimals = 0;
    if (at != end && *at == '.') {
      const char* const fractionStart = ++at;
      at = ReadDigits(at, end, whole);
      decimals = size_t(at - fractionStart);
      if (decimals == 0) return nullptr;
    }
    // Beyond 19 digits the whole number may have wrapped; such texts go the general way.
    if (integerDigits == 0 || integerDigits + decimals > kMostDigits) return nullptr;
    if (whole > kLargestExactWhole || decimals >= kPowersOfTen.size()) return nullptr;
    const double magnitude = double(whole) / kPowersOfTen[decimals];
    value = negative ? -magnitude : magnitude;
    return at;
  }

  static const char* ReadDigits(const char* at, const char* end, uint64_t& whole) {
    for (; at != end && unsigned(*at - '0') < 10u; ++at) whole = whole * 10 + uint64_t(*at - '0');
    return at;
  }
};

}  // namespace velmora
