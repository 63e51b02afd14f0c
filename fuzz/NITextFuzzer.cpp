// Text recordings of the 64-channel set-up.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "FuzzRecording.h"
#include "core/Errors.h"
#include "input/NITextReader.h"

using namespace velmora;

// The store of a whole signal length is filled (and smoothed) however short the file, which
// would make each run take a tenth of a second; a few hundred rows reach the same code.
constexpr int kRows = 300;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::FuzzRecording& recording = fuzz::FuzzRecording::Shared();
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  try {
    NITextReader::Parse("fuzz.txt", text, kRows, recording.UiSink());
  } catch (const IoError&) {
  }
  recording.ForgetMessages();
  return 0;
}
