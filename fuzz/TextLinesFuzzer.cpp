// The line walker under the text recording layouts. The first three bytes set the header
// lines to skip, the characters to skip per line and the numbers per line; the rest is text.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/Errors.h"
#include "input/TextLines.h"

using namespace velmora;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 3) return 0;
  const int headerLines = data[0] % 8;
  const size_t skipped = data[1] % 32;
  const int numbers = data[2] % 70 + 1;
  TextLines lines("fuzz.txt", std::string_view(reinterpret_cast<const char*>(data) + 3, size - 3));
  try {
    lines.RefuseBinary();
    lines.SkipHeader(headerLines);
    while (lines.NextDataLine()) {
      lines.SkipCharacters(skipped);
      for (int k = 1; k <= numbers; ++k) lines.ReadScaled(1e6, k, numbers);
    }
  } catch (const IoError&) {
  }
  return 0;
}
