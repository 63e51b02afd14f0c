#include "input/FrameStream.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "core/Errors.h"
#include "core/Limits.h"
#include "core/ReadableFile.h"

namespace velmora {

FrameStream::FrameStream() : buffer_(size_t(kChunkFrames + kLookBack) * kChannels) {}

FrameStream::~FrameStream() { Close(); }

void FrameStream::Start(const std::string& path, int64_t offset, int channels, int64_t readable) {
  Close();
  fd_ = ReadableFile(path, "the recording").Release();
  path_ = path;
  offset_ = offset;
  channels_ = channels;
  readable_ = readable;
  first_ = end_ = 0;
}

void FrameStream::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

const int16_t* FrameStream::Refill(int64_t k) {
  // Keep the frames a caller may still look back to, then read the next chunk after them.
  // A jump further ahead than a chunk starts afresh at the frame asked for.
  if (k < first_ || k >= end_ + kChunkFrames) first_ = end_ = k;
  const int64_t keep = std::min<int64_t>(end_ - first_, kLookBack);
  std::memmove(buffer_.data(), buffer_.data() + (end_ - keep - first_) * channels_,
               size_t(keep) * size_t(channels_) * sizeof(int16_t));
  first_ = end_ - keep;
  const int64_t wanted = kChunkFrames;
  const int64_t fromFile = std::clamp<int64_t>(readable_ - end_, 0, wanted);
  char* into = reinterpret_cast<char*>(buffer_.data() + keep * channels_);
  size_t bytes = size_t(fromFile) * size_t(channels_) * sizeof(int16_t);
  int64_t position = offset_ + end_ * channels_ * int64_t(sizeof(int16_t));
  while (bytes > 0) {
    const ssize_t n = ::pread(fd_, into, bytes, position);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) throw IoError(path_, n < 0 ? std::string("frames cannot be read: ") + std::strerror(errno)
                                           : std::string("the recording ended while its frames were read"));
    into += n;
    bytes -= size_t(n);
    position += n;
  }
  std::memset(into, 0, size_t(wanted - fromFile) * size_t(channels_) * sizeof(int16_t));
  end_ += wanted;
  return buffer_.data() + (k - first_) * channels_;
}

}  // namespace velmora
