// The free-format number reader. The first two bytes are a program of eight reads (two bits
// each: whole number, real number, skip the line, take the line), run over the rest as text
// until it ends or a read is refused.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/Errors.h"
#include "core/TextReader.h"

using namespace velmora;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const unsigned program = unsigned(data[0]) | unsigned(data[1]) << 8;
  TextReader reader("fuzz.txt", std::string(reinterpret_cast<const char*>(data) + 2, size - 2));
  try {
    for (unsigned step = 0; !reader.AtEnd(); ++step) {
      switch ((program >> (2 * (step % 8))) & 3) {
        case 0: reader.ReadInt("a whole number"); break;
        case 1: reader.ReadReal("a number"); break;
        case 2: reader.NextLine(); break;
        default: reader.ReadLine(); break;
      }
    }
  } catch (const IoError&) {
  }
  return 0;
}
