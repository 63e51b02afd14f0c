#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velmora {

// The geometry of an E00 recording, read from its 4096-byte header block and its size, and
// checked against what the reader can hold.
struct E00Header {
  static constexpr size_t kBlockSize = 4096;

  std::vector<uint8_t> block;   // the header block as read
  int32_t headerLength = 0;     // H, bytes before the first frame record
  int32_t channels = 0;         // C
  int32_t bytesPerSample = 0;   // B
  int32_t word90 = 0, word104 = 0;
  int32_t frameSize = 0;        // F = C x B
  int32_t headerFrames = 0;     // H div F
  int64_t fileSize = 0;
  int64_t framesInFile = 0;     // whole frame records after the header records
  int64_t trailingBytes = 0;    // bytes of a last frame cut short

  // Reads and checks the header of `path`. Throws IoError naming the file and the problem:
  // a file shorter than the header block, 0 or more than 256 channels, a sample size other
  // than 2 bytes, a header length beyond the file, too few frames to show.
  static E00Header Read(const std::string& path);
  // Decodes and checks a header block for a file of `fileSize` bytes.
  static E00Header Decode(const std::string& path, std::vector<uint8_t> block, int64_t fileSize);
};

}  // namespace velmora
