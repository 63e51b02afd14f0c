// The three laboratory text layouts. The first byte picks the layout, the second the numbers
// per row; an Auckland file is read as the import window reads it, its own header first.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "FuzzRecording.h"
#include "core/Errors.h"
#include "input/AucklandHeader.h"
#include "input/LabTextReader.h"

using namespace velmora;

namespace {

// Enough rows to pass the progress steps and the end of the file in every way.
constexpr int kMostRows = 300;
constexpr int kMostChannels = 64;

LabTextReader::Request RequestFor(uint8_t layout, uint8_t channels, std::string_view text) {
  if (layout % 3 == 1) {
    const AucklandHeader header = AucklandHeader::Read("fuzz.txt", text);
    return {LabTextReader::Layout::Auckland, header.channels, std::min(header.samples, kMostRows),
            header.headerLines};
  }
  const auto kind = layout % 3 == 0 ? LabTextReader::Layout::Nashville : LabTextReader::Layout::Manchester;
  return {kind, 1 + channels % kMostChannels, kMostRows, 3};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  fuzz::FuzzRecording& recording = fuzz::FuzzRecording::Shared();
  const std::string_view text(reinterpret_cast<const char*>(data) + 2, size - 2);
  try {
    const LabTextReader::Request request = RequestFor(data[0], data[1], text);
    const TextSamples samples = LabTextReader::Parse("fuzz.txt", text, request, recording.UiSink());
    if (samples.rows < 1 || samples.rows > request.rows ||
        samples.values.size() != size_t(samples.rows) * size_t(request.channels))
      std::abort();
  } catch (const IoError&) {
  }
  recording.ForgetMessages();
  return 0;
}
