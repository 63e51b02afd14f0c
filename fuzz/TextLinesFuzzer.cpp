// The line walker under the text recording layouts. The first three bytes set the header
// lines to skip (and the scale), the characters to skip per line and the numbers per line; the
// rest is text. Every line is read twice, a row at once and number by number: the two must
// give the same samples, the same last value and the same refusal.
#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/Errors.h"
#include "input/TextLines.h"

using namespace velmora;

namespace {

struct Reading {
  std::vector<int64_t> seen;  // samples, then per line the last value's bits and what is left
  std::string refusal;
  bool operator==(const Reading&) const = default;
};

Reading Read(std::string_view text, int headerLines, size_t skipped, int numbers, double scale, bool byRow) {
  Reading reading;
  TextLines lines("fuzz.txt", text);
  std::vector<int32_t> row(static_cast<size_t>(numbers));
  try {
    lines.RefuseBinary();
    lines.SkipHeader(headerLines);
    while (lines.NextDataLine()) {
      lines.SkipCharacters(skipped);
      if (byRow) lines.ReadScaledRow(scale, row.data(), numbers);
      for (int k = 1; k <= numbers && !byRow; ++k) row[size_t(k - 1)] = lines.ReadScaled(scale, k, numbers);
      reading.seen.insert(reading.seen.end(), row.begin(), row.end());
      reading.seen.push_back(int64_t(std::bit_cast<uint64_t>(lines.LastValue())));
      reading.seen.push_back(int64_t(lines.CurrentLine().size()));
    }
  } catch (const IoError& error) {
    reading.refusal = error.what();
  }
  return reading;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 3) return 0;
  const int headerLines = data[0] % 8;
  const double scales[] = {1e6, 1, 1000};
  const double scale = scales[data[0] / 8 % 3];
  const size_t skipped = data[1] % 32;
  const int numbers = data[2] % 70 + 1;
  const std::string_view text(reinterpret_cast<const char*>(data) + 3, size - 3);
  if (Read(text, headerLines, skipped, numbers, scale, true) != Read(text, headerLines, skipped, numbers, scale, false))
    __builtin_trap();
  return 0;
}
