#include "support/E00Builder.h"

#include <algorithm>
#include <cstring>

#include <fmt/format.h>

namespace velmora::testing {

namespace {

void PutWord(std::string& bytes, size_t offset, int16_t value) { std::memcpy(bytes.data() + offset, &value, 2); }

}  // namespace

std::string E00Builder::Header() const {
  std::string header(4096, '\0');
  header[0] = header[1] = char(0xFF);
  PutWord(header, 2, int16_t(headerLength));
  PutWord(header, 86, int16_t(channels));
  PutWord(header, 88, int16_t(bytesPerSample));
  PutWord(header, 90, word90);
  PutWord(header, 104, word104);
  return header;
}

std::string E00Builder::Bytes() const {
  // Frame records are counted from the start of the file, so the first one after the header
  // begins at (H div F) x F, which may lie inside the 4096-byte header block.
  std::string bytes = Header();
  if (bytes.size() < size_t(headerLength)) bytes.resize(size_t(headerLength), '\0');
  const int perSample = bytesPerSample > 0 ? bytesPerSample : 2;
  const size_t frameSize = size_t(channels > 0 ? channels : 1) * size_t(perSample);
  const size_t start = size_t(headerLength) / frameSize * frameSize;
  bytes.resize(std::max(bytes.size(), start + size_t(frames) * frameSize), '\0');
  std::string frame(frameSize, '\0');
  for (int k = 0; k < frames; ++k) {
    for (int c = 1; c <= channels; ++c) PutWord(frame, size_t(c - 1) * size_t(perSample), sample(k, c));
    std::memcpy(bytes.data() + start + size_t(k) * frameSize, frame.data(), frameSize);
  }
  return bytes;
}

std::string NewMatrixText(int cols, int rows, double distance) {
  std::string text = fmt::format("-2\n{} {} {} {}\ntest grid\n", cols * rows, cols, rows, distance);
  int channel = 17;
  for (int y = 0; y < rows; ++y) {
    for (int x = 0; x < cols; ++x) text += fmt::format("{}{}", x ? " " : "", channel++);
    text += "\n";
  }
  return text;
}

}  // namespace velmora::testing
