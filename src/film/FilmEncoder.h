#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace velmora {

// Writes frames of 32-bit pixels (0xffRRGGBB in the machine's order, as a Qt RGB32 image
// holds them) into an MP4 film: H.264 when the FFmpeg libraries carry an H.264 encoder,
// MPEG-4 part 2 otherwise. The film is written to a temporary file beside `path` and renamed
// over it by Finish, so an interrupted or cancelled film never leaves a broken file behind.
class FilmEncoder {
 public:
  // Frames of `width` x `height`; an odd side loses its last pixel row or column, since the
  // films' colour format needs even sides. Throws IoError when the film cannot be started.
  FilmEncoder(const std::string& path, int width, int height, int framesPerSecond);
  ~FilmEncoder();
  FilmEncoder(const FilmEncoder&) = delete;
  FilmEncoder& operator=(const FilmEncoder&) = delete;

  // `stride` is the distance between rows in bytes. Throws IoError.
  void AddFrame(const uint8_t* pixels, int stride);
  // Flushes the encoder, closes the file and renames it into place. Throws IoError.
  void Finish();

  // "h264" or "mpeg4", and a note for the user when the fallback was taken (else empty).
  std::string CodecName() const;
  std::string FallbackNote() const;

  // True when the libraries were there at build time.
  static bool Available();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace velmora
