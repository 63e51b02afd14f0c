// Text files as the readers take them from disk: the lines asked for are read a block at a
// time, a binary file is refused, and whatever a refusal quotes of the file reaches the
// terminal as text. The first byte says how many lines are asked for.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "FuzzScratch.h"
#include "core/EchoedText.h"
#include "core/Errors.h"
#include "core/ReadableFile.h"
#include "input/TextLines.h"

using namespace velmora;

namespace {

constexpr size_t kMostLineBytes = 4096;  // small, so that the limit is reached too

// No control byte may reach a terminal, whatever the text held.
void CheckShownHarmlessly(const std::string& shown, bool lineEndsKept) {
  for (const char c : shown) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte < 0x20 && !(lineEndsKept && c == '\n')) || byte == 0x7F) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const int lines = data[0] % 64;
  const std::string path = fuzz::FuzzScratch::Write("text.txt", data + 1, size - 1);
  const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  CheckShownHarmlessly(EchoedText::Token(bytes), false);
  CheckShownHarmlessly(EchoedText::Lines(bytes), true);
  try {
    const std::string text = ReadableFile(path).ReadLines(lines, kMostLineBytes);
    if (text.size() > bytes.size() || bytes.substr(0, text.size()) != text) std::abort();
    TextLines walker(path, text);
    walker.RefuseBinary();
    walker.SkipHeader(1);
    while (walker.NextDataLine()) walker.ReadReal("a number");
  } catch (const IoError& refusal) {
    CheckShownHarmlessly(refusal.what(), false);
  }
  return 0;
}
