#include "input/E00Header.h"

#include <cstring>

#include <fmt/format.h>

#include "core/Errors.h"
#include "core/Limits.h"
#include "core/ReadableFile.h"

namespace velmora {

namespace {

int16_t Word(const std::vector<uint8_t>& block, size_t offset) {
  int16_t value;
  std::memcpy(&value, block.data() + offset, sizeof value);
  return value;
}

}  // namespace

E00Header E00Header::Read(const std::string& path) {
  ReadableFile file(path, "the recording");
  const int64_t size = file.Size();
  if (size < int64_t(kBlockSize))
    throw IoError(path, fmt::format("the recording is shorter than its {}-byte header ({} bytes)", kBlockSize, size));
  std::vector<uint8_t> block(kBlockSize);
  if (!file.ReadBlock(block.data(), block.size())) throw IoError(path, "the recording's header cannot be read");
  return Decode(path, std::move(block), size);
}

E00Header E00Header::Decode(const std::string& path, std::vector<uint8_t> block, int64_t fileSize) {
  E00Header h;
  h.block = std::move(block);
  h.fileSize = fileSize;
  h.headerLength = Word(h.block, 2);
  h.channels = Word(h.block, 86);
  h.bytesPerSample = Word(h.block, 88);
  h.word90 = Word(h.block, 90);
  h.word104 = Word(h.block, 104);
  if (h.channels < 1 || h.channels > kChannels)
    throw IoError(path, fmt::format("the recording has {} channels; 1 to {} can be read", h.channels, kChannels));
  if (h.bytesPerSample != 2)
    throw IoError(path, fmt::format("the recording has {} bytes per sample; only 16-bit samples (2 bytes) can be read",
                                    h.bytesPerSample));
  if (h.headerLength < 0 || h.headerLength > fileSize)
    throw IoError(path, fmt::format("the recording gives a header length of {} bytes, beyond its {} bytes",
                                    h.headerLength, fileSize));
  h.frameSize = h.channels * h.bytesPerSample;
  h.headerFrames = h.headerLength / h.frameSize;
  h.framesInFile = fileSize / h.frameSize - h.headerFrames;
  h.trailingBytes = fileSize % h.frameSize;
  // The first frame record after the header is never read, and a 20-sample mean looks 20
  // frames ahead, so fewer than 21 frames leave nothing to show.
  if (h.framesInFile <= kSmoothingWidth)
    throw IoError(path, fmt::format("the recording holds {} frames after its header; at least {} are needed",
                                    h.framesInFile, kSmoothingWidth + 1));
  return h;
}

}  // namespace velmora
