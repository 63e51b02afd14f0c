#include "input/DecimalNumber.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include <fmt/format.h>

#include "core/Errors.h"
#include "input/TextLines.h"

namespace velmora {
namespace {

// The C library's correctly rounded reading of the same text.
double Strtod(const std::string& token) { return std::strtod(token.c_str(), nullptr); }

// A token read alone and read as the start of a long line (the reading takes another way
// where many characters follow) must give the same number and the same length.
std::optional<DecimalNumber::Plain> ParseBothWays(const std::string& token) {
  const auto alone = DecimalNumber::ParsePrefix(token);
  const auto inLine = DecimalNumber::ParsePrefix(token + "\t12.5\t-3.25\t7\t0.125\t9.5");
  EXPECT_EQ(alone.has_value(), inLine.has_value()) << token;
  if (alone && inLine) {
    EXPECT_EQ(alone->value, inLine->value) << token;
    EXPECT_EQ(alone->length, inLine->length) << token;
  }
  return alone;
}

TEST(DecimalNumberTest, PlainDecimalsGiveTheCorrectlyRoundedDouble) {
  const std::vector<std::string> tokens = {
      "0",         "-0.000123", "0.0012",         "-0.00005",          "0.0000005",        "0.0000015",
      "17.5",      "+16.5",     "1.234",          "0.00042",           "0.1",              "0.3",
      "123456.789", "-2000",    "9007199254740992", "0.9007199254740992", "4.35",           "0.000000000000000001"};
  for (const std::string& token : tokens) {
    const auto plain = ParseBothWays(token);
    ASSERT_TRUE(plain.has_value()) << token;
    EXPECT_EQ(plain->value, Strtod(token)) << token;
    EXPECT_EQ(plain->length, token.size()) << token;
  }
  EXPECT_EQ(DecimalNumber::ParsePrefix("-0.000123")->value, -0.000123);
  EXPECT_EQ(DecimalNumber::ParsePrefix("17.5\t3")->value, 17.5);
  EXPECT_EQ(DecimalNumber::ParsePrefix("17.5\t3")->length, 4u);
  EXPECT_EQ(DecimalNumber::ParsePrefix("1.5e3")->length, 3u);  // the caller sees the e
}

TEST(DecimalNumberTest, RandomDecimalsAgreeWithTheCLibrary) {
  uint64_t random = 2026;
  const auto next = [&random](uint64_t below) {
    random = random * 6364136223846793005ULL + 1442695040888963407ULL;
    return (random >> 33) % below;
  };
  int read = 0;
  for (int n = 0; n < 20000; ++n) {
    std::string token = next(2) == 0 ? "-" : "";
    const uint64_t integerDigits = 1 + next(10), decimals = next(16);
    for (uint64_t d = 0; d < integerDigits; ++d) token += char('0' + next(10));
    if (decimals > 0) token += '.';
    for (uint64_t d = 0; d < decimals; ++d) token += char('0' + next(10));
    const auto plain = ParseBothWays(token);
    if (!plain) continue;
    ++read;
    ASSERT_EQ(plain->value, Strtod(token)) << token;
    ASSERT_EQ(plain->length, token.size()) << token;
  }
  EXPECT_GT(read, 10000);  // most of them take the quick way
}

TEST(DecimalNumberTest, LeavesEverythingElseToTheGeneralParser) {
  for (const std::string token : {"", "-", "+", ".", "5.", ".5", "nan", "inf", "--1", "+-1", "e5",
                                  "12345678901234567890", "9007199254740993", "0.00000000000000000000001"})
    EXPECT_FALSE(ParseBothWays(token).has_value()) << token;
}

// The numbers of a line as the readers store them: scaled, then rounded halves to even.
std::vector<int32_t> ReadLine(const std::string& line, double scale, int count) {
  // A blank line after it lets the row reading take the numbers by blocks up to the last.
  const std::string text = line + "\n" + std::string(DecimalBlock::kReach, ' ') + "\n";
  TextLines lines("t.txt", text);
  EXPECT_TRUE(lines.NextDataLine());
  std::vector<int32_t> values;
  for (int k = 1; k <= count; ++k) values.push_back(lines.ReadScaled(scale, k, count));
  TextLines rowLines("t.txt", text);
  EXPECT_TRUE(rowLines.NextDataLine());
  std::vector<int32_t> row(size_t(count), 0);
  rowLines.ReadScaledRow(scale, row.data(), count);
  EXPECT_EQ(row, values) << line;
  return values;
}

TEST(DecimalNumberTest, ReadersRoundHalvesToEvenWhateverFormTheNumberTakes) {
  EXPECT_EQ(ReadLine("17.5 16.5 -16.5 -17.5 +2.5 0.5 -0.5", 1, 7), (std::vector<int32_t>{18, 16, -16, -18, 2, 0, 0}));
  EXPECT_EQ(ReadLine(" \t 3.5\t\t4.5   1e2 -2.5E1 25e-1 +3.5e0", 1, 6), (std::vector<int32_t>{4, 4, 100, -25, 2, 4}));
  EXPECT_EQ(ReadLine("0.0012 -0.00005 0.0000015 1.5e-6 0.00042", 1e6, 5),
            (std::vector<int32_t>{1200, -50, 2, 2, 420}));
  EXPECT_EQ(ReadLine("1.234 -1.235 0.125", 100, 3), (std::vector<int32_t>{123, -124, 12}));
  // Eight digits on both sides: the last decimal decides the tie.
  EXPECT_EQ(ReadLine("12345670.50000000 12345670.50000001 -0.12345678", 1, 3),
            (std::vector<int32_t>{12345670, 12345671, 0}));
  EXPECT_EQ(ReadLine("0.12345678 -0.87654321 1.00000005", 1e8, 3),
            (std::vector<int32_t>{12345678, -87654321, 100000005}));
}

TEST(DecimalNumberTest, ReadersRefuseWhatIsNotANumberNamingTheLine) {
  for (const std::string bad : {"1.5e", "1.2.3", "0x10", "nan", "1,5", "--1", "abc", "3000000000"}) {
    const std::string line = "1.5\t" + bad + "\t2.5\t-7.25\t1000.125\t42";
    const std::string text = line + "\n";
    TextLines lines("t.txt", text);
    ASSERT_TRUE(lines.NextDataLine());
    int32_t row[6] = {};
    try {
      lines.ReadScaledRow(1, row, 6);
      ADD_FAILURE() << bad << " was read";
    } catch (const ConversionError& error) {
      EXPECT_EQ(error.Line(), 1);
      EXPECT_NE(std::string(error.what()).find("number 2"), std::string::npos) << error.what();
      EXPECT_NE(std::string(error.what()).find(bad), std::string::npos) << error.what();
    }
  }
}

// Rows read sixty-four characters at a time must give what number-by-number reading gives,
// values and refusals alike, wherever the numbers fall on the blocks: random rows of plain
// decimals, long and unusual numbers, runs of blanks, and now and then a word that is no number.
TEST(DecimalNumberTest, RowsReadByBlocksMatchNumberByNumberReading) {
  uint64_t random = 77;
  const auto next = [&random](uint64_t below) {
    random = random * 6364136223846793005ULL + 1442695040888963407ULL;
    return (random >> 33) % below;
  };
  const std::vector<std::string> odd = {"1e3", "-2.5E-1", "12345678.5", "123456789", "0.123456789",
                                        "+7",  "5.",      ".5",         "-",         "1.2.3",
                                        "2.5", "-3.5",    "0.5",        "1.50",      "99999999.49999999",
                                        "x",   "12345678901234567890123456789012345678901234567890123456789012345678",
                                        "99999999.5", "90071992.25", "12345678.1234567", "+0.5", "-0", "1.5-", "1-5",
                                        "2..5", "-+3", "7.5.", "3.25+", "1e"};
  const auto word = [&]() -> std::string {
    if (next(40) == 0) return odd[next(odd.size())];
    std::string token = next(2) == 0 ? "-" : "";
    for (uint64_t d = 0, n = 1 + next(8); d < n; ++d) token += char('0' + next(10));
    if (next(4) != 0) token += '.';
    if (token.back() == '.' && next(8) == 0) token += std::string("5") + std::string(next(4), '0');  // a half
    if (token.back() == '.')
      for (uint64_t d = 0, n = 1 + next(8); d < n; ++d) token += char('0' + next(10));
    return token;
  };
  const char* blanks[] = {"\t", " ", "  ", "\t\t", " \r ", "\v"};
  for (int trial = 0; trial < 600; ++trial) {
    const double scale = trial % 2 == 0 ? 1 : 1000;  // unscaled numbers are rounded in integers
    const int count = 1 + int(next(60));
    std::string text = "header\n";
    std::vector<std::string> lines;
    for (int l = 0; l < 3; ++l) {
      std::string line = next(3) == 0 ? " " : "";
      for (int k = 0; k < count - int(count > 1 && next(20) == 0); ++k) line += (k > 0 ? blanks[next(6)] : "") + word();
      lines.push_back(line);
      text += line + (next(2) == 0 ? "\r\n" : "\n");
    }
    const auto read = [&](bool byRow) {
      TextLines lines("t.txt", text);
      lines.SkipHeader(1);
      std::vector<int32_t> values(size_t(count) * 3);
      try {
        for (int l = 0; l < 3; ++l) {
          EXPECT_TRUE(lines.NextDataLine());
          int32_t* row = values.data() + size_t(l) * size_t(count);
          if (byRow) lines.ReadScaledRow(scale, row, count);
          for (int k = 0; k < count && !byRow; ++k) row[k] = lines.ReadScaled(scale, k + 1, count);
          const uint64_t last = std::bit_cast<uint64_t>(lines.LastValue());  // compared bit for bit
          values.push_back(int32_t(uint32_t(last >> 32)));
          values.push_back(int32_t(uint32_t(last)));
          values.push_back(int32_t(lines.CurrentLine().size()));
        }
      } catch (const ConversionError& error) {
        return std::make_pair(values, std::string(error.what()));
      }
      return std::make_pair(values, std::string());
    };
    ASSERT_EQ(read(true), read(false)) << text;
  }
}

}  // namespace
}  // namespace velmora
