#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velmora {

// Reads the frames of an E00 recording in order, a cache-sized chunk at a time, so that the
// samples are converted while they are still in the cache. Frame k may be asked for while no
// frame more than kLookBack frames later has been asked for; frames past the readable ones
// read as zeros.
class FrameStream {
 public:
  static constexpr int64_t kChunkFrames = 512;
  static constexpr int64_t kLookBack = 32;

  FrameStream();
  ~FrameStream();
  FrameStream(const FrameStream&) = delete;
  FrameStream& operator=(const FrameStream&) = delete;

  // Starts reading `readable` frames of `channels` samples from byte `offset` of `path`.
  // Throws IoError when the file cannot be opened.
  void Start(const std::string& path, int64_t offset, int channels, int64_t readable);
  // The samples of frame k (channel 1 first). Throws IoError when the file cannot be read.
  const int16_t* Frame(int64_t k) {
    if (k >= first_ && k < end_) return buffer_.data() + (k - first_) * channels_;
    return Refill(k);
  }
  void Close();

 private:
  const int16_t* Refill(int64_t k);

  std::string path_;
  int fd_ = -1;
  int channels_ = 0;
  int64_t offset_ = 0;
  int64_t readable_ = 0;
  int64_t first_ = 0;  // frames first_ .. end_ - 1 are in the buffer
  int64_t end_ = 0;
  std::vector<int16_t> buffer_;
};

}  // namespace velmora
