// The settings file beside a mark file: read, and what is read written and read back alike.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/Errors.h"
#include "marks/MarkSettingsFile.h"

using namespace velmora;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  MarkSettings settings;
  try {
    settings = MarkSettingsFile::Parse("fuzz.M00.settings.txt", std::string(reinterpret_cast<const char*>(data), size));
  } catch (const IoError&) {
    return 0;
  }
  try {
    const MarkSettings again = MarkSettingsFile::Parse("again.txt", MarkSettingsFile::Text(settings));
    if (again.marking != settings.marking || again.amplitudes != settings.amplitudes) std::abort();
  } catch (const IoError&) {
    std::abort();
  }
  MarkSettingsFile::Lines(settings);
  return 0;
}
