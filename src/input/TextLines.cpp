#include "input/TextLines.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <fmt/format.h>

#include "core/Arithmetic.h"
#include "core/EchoedText.h"
#include "core/Errors.h"
#include "input/DecimalBlock.h"
#include "input/DecimalNumber.h"

namespace velmora {

namespace {

constexpr size_t kBinaryProbeBytes = 4096;
constexpr double kLargestScaled = 2147483647.0;  // a stored sample is a 32-bit integer

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v'; }
bool IsSpace(char c) { return IsBlank(c) || c == '\n'; }

// A scaled sample already known to be within 32 bits, rounded halves to even: one instruction
// where the processor has it (the default rounding mode rounds so).
int32_t RoundSample(double scaled) {
#if defined(__SSE2__)
  return _mm_cvtsd_si32(_mm_set_sd(scaled));
#else
  return int32_t(RoundHalfEven(scaled));
#endif
}

}  // namespace

void TextLines::Fail(const std::string& problem) const { throw ConversionError(path_, std::max(line_, 1), problem); }

void TextLines::RefuseBinary() const {
  const std::string_view probe = text_.substr(0, kBinaryProbeBytes);
  if (probe.find('\0') != std::string_view::npos)
    throw IoError(path_, "is not a text file (it holds binary bytes); choose a text recording");
}

void TextLines::SkipHeader(int count) {
  for (int n = 1; n <= count; ++n) {
    if (next_ >= text_.size())
      Fail(fmt::format("the file ends within its {} header lines; no samples follow", count));
    NextLineAnyway();
  }
}

bool TextLines::NextDataLine() {
  const auto rest = text_.substr(std::min(next_, text_.size()));
  if (std::all_of(rest.begin(), rest.end(), IsSpace)) return false;
  NextLineAnyway();
  return true;
}

void TextLines::NextLineAnyway() {
  const size_t start = next_;
  size_t end = text_.find('\n', start);
  if (end == std::string_view::npos) end = text_.size();
  next_ = end + 1;
  current_ = text_.substr(start, end - start);
  if (!current_.empty() && current_.back() == '\r') current_.remove_suffix(1);
  ++line_;
}

void TextLines::SkipCharacters(size_t count) { current_.remove_prefix(std::min(count, current_.size())); }

void TextLines::NextLine(const std::string& missing) {
  if (next_ >= text_.size()) Fail(missing);
  NextLineAnyway();
}

bool TextLines::SkipToNumber() {
  for (;;) {
    if (std::any_of(current_.begin(), current_.end(), [](char c) { return !IsBlank(c); })) return true;
    if (next_ >= text_.size()) return false;
    NextLineAnyway();
  }
}

std::string_view TextLines::NextToken() {
  size_t start = 0;
  while (start < current_.size() && IsBlank(current_[start])) ++start;
  size_t end = start;
  while (end < current_.size() && !IsBlank(current_[end])) ++end;
  const std::string_view token = current_.substr(start, end - start);
  current_.remove_prefix(end);
  return token;
}

bool TextLines::ParseNumber(std::string_view token, double& value) {
  if (token.empty()) return false;
  const char* first = token.data() + (token.front() == '+' ? 1 : 0);
  const char* last = token.data() + token.size();
  const auto [stop, error] = std::from_chars(first, last, value);
  return error == std::errc() && stop == last && std::isfinite(value);
}

// Header values get their own words in a refusal: which value the line should begin with.
double TextLines::ReadReal(const std::string& what) {
  const std::string_view token = NextToken();
  if (token.empty()) Fail(fmt::format("expected {}, the line holds no number", what));
  double value = 0;
  if (!ParseNumber(token, value)) Fail(fmt::format("expected {}, found '{}'", what, EchoedText::Token(token)));
  SetLastValue(value);
  return value;
}

int32_t TextLines::ReadScaled(double scale, int index, int count) {
  size_t start = 0;
  while (start < current_.size() && IsBlank(current_[start])) ++start;
  if (start == current_.size())
    Fail(fmt::format("the line holds {} of the {} numbers expected", index - 1, count));
  const std::string_view rest = current_.substr(start);
  const double value = ReadNumber(start, index, count);
  const double scaled = value * scale;
  if (!(std::fabs(scaled) < kLargestScaled)) {
    const std::string_view token = rest.substr(0, rest.size() - current_.size());
    Fail(fmt::format("number {} ('{}') is out of range", index, EchoedText::Token(token)));
  }
  SetLastValue(value);
  return int32_t(RoundHalfEven(scaled));
}

double TextLines::LastValue() const {
  if (lastWord_.empty()) return last_;
  if (const auto plain = DecimalNumber::ParsePrefix(lastWord_)) return plain->value;
  double value = 0;
  ParseNumber(lastWord_, value);  // every word a block reads is a number
  return value;
}

// The words of a row are found 64 characters at a time (DecimalBlock), so that finding the
// next number never waits for the reading of the one before; the last characters of the text,
// and any number the blocks cannot read, are read one at a time.
void TextLines::ReadScaledRow(double scale, int32_t* row, int count) {
  const char* at = current_.data();
  const char* const end = at + current_.size();
  const char* const textEnd = text_.data() + text_.size();
  int k = 0;
  while (k < count) {
    if (textEnd - at >= DecimalBlock::kReach) {
      k = ReadBlock(at, end, scale, row, k, count);
    } else {
      row[k] = ReadScaledSlowly(at, end, scale, k + 1, count);
      ++k;
    }
  }
  current_ = std::string_view(at, size_t(end - at));
}

// Reads numbers k, k + 1, ... of the row from the block at `at` and returns how many of the row
// are read then; `at` moves past the last number read, or to a number the block could not hold.
[[gnu::always_inline]] inline int TextLines::ReadBlock(const char*& at, const char* end, double scale, int32_t* row,
                                                       int k, int count) {
  DecimalBlock block(at, end - at);
  const bool unscaled = scale == 1;
  DecimalBlock::Word word = DecimalBlock::Word::kNone;
  DecimalBlock::Decimal decimal;
  int start = 0, stop = 0, read = 0, lastStart = 0;
  // `take` reads word [start, stop) into the sample, or says it cannot.
  const auto readWords = [&](auto take) {
    for (; k < count; ++k) {
      word = block.Next(start, stop);
      if (word != DecimalBlock::Word::kFound || !take(row[k])) break;
      lastStart = start;
      read = stop;
    }
  };
  if (!block.AllPlain()) {
    readWords([&](int32_t& sample) {
      return block.Split(start, stop, decimal) && StoreSample(decimal, scale, unscaled, sample);
    });
  } else if (unscaled) {
    readWords([&](int32_t& sample) {
      block.Take(start, stop, decimal);
      sample = DecimalBlock::Rounded(decimal);
      return true;
    });
  } else {
    readWords([&](int32_t& sample) {
      block.Take(start, stop, decimal);
      return StoreSample(decimal, scale, false, sample);
    });
  }
  // The double of the last number is made only when asked for.
  if (read > 0) SetLastWord(at + lastStart, read - lastStart);
  if (k == count) {
    at += read;
    return k;
  }
  if (word != DecimalBlock::Word::kNone) {
    at += start;  // a number that runs past the block or that the block cannot read
    return word == DecimalBlock::Word::kRunsOn && start > 0 ? k : SlowlyAt(at, end, scale, row, k, count);
  }
  // The rest of the block is blank: move to the next one, or the line is short of numbers.
  if (end - at > DecimalBlock::kSize) {
    at += DecimalBlock::kSize;
    return k;
  }
  at += read;
  return SlowlyAt(at, end, scale, row, k, count);
}

// A number of the row scaled and rounded halves to even into `sample`; false when it is out of
// range (the general reading then words the refusal). Unscaled numbers are rounded in integers.
bool TextLines::StoreSample(const DecimalBlock::Decimal& decimal, double scale, bool unscaled, int32_t& sample) {
  if (unscaled) {
    sample = DecimalBlock::Rounded(decimal);
    return true;
  }
  if (decimal.integer >= DecimalBlock::kLargestExactInteger) return false;
  const double scaled = DecimalBlock::ValueOf(decimal) * scale;
  if (!(std::fabs(scaled) < kLargestScaled)) return false;
  sample = RoundSample(scaled);
  return true;
}

// Number k + 1 of the row read the general way; returns how many of the row are read then.
int TextLines::SlowlyAt(const char*& at, const char* end, double scale, int32_t* row, int k, int count) {
  row[k] = ReadScaledSlowly(at, end, scale, k + 1, count);
  return k + 1;
}

// Number `index` of the row from `at` when no block could read it: near the end of the
// text, long or unusual numbers, and every refusal. `at` moves past it.
int32_t TextLines::ReadScaledSlowly(const char*& at, const char* end, double scale, int index, int count) {
  while (at != end && IsBlank(*at)) ++at;
  double value = 0;
  const char* const stop = at == end ? nullptr : DecimalNumber::Parse(at, end, value);
  const double scaled = value * scale;
  if (stop == nullptr || (stop != end && !IsBlank(*stop)) || !(std::fabs(scaled) < kLargestScaled)) {
    // Anything but a plain decimal in range goes the general way, which words the refusal.
    current_ = std::string_view(at, size_t(end - at));
    const int32_t result = ReadScaled(scale, index, count);
    at = current_.data();
    return result;
  }
  SetLastValue(value);
  at = stop;
  return int32_t(RoundHalfEven(scaled));
}

// Plain decimals, nearly every number of a recording, are read in one go; anything else is
// cut at the next blank and must be a number as a whole.
double TextLines::ReadNumber(size_t start, int index, int count) {
  const auto plain = DecimalNumber::ParsePrefix(current_.substr(start));
  if (plain && (start + plain->length == current_.size() || IsBlank(current_[start + plain->length]))) {
    current_.remove_prefix(start + plain->length);
    return plain->value;
  }
  size_t end = start;
  while (end < current_.size() && !IsBlank(current_[end])) ++end;
  const std::string_view token = current_.substr(start, end - start);
  current_.remove_prefix(end);
  const char* first = token.data() + (token.front() == '+' ? 1 : 0);
  const char* last = token.data() + token.size();
  double value = 0;
  const auto [stop, error] = std::from_chars(first, last, value);
  if (error != std::errc() || stop != last || !std::isfinite(value))
    Fail(fmt::format("expected number {} of {}, found '{}'", index, count, EchoedText::Token(token)));
  return value;
}

}  // namespace velmora
