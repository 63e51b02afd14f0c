// The film encoder of a build without the FFmpeg libraries: every film is refused with the
// reason, so the callers offer PNG frames instead.
#include "core/Errors.h"
#include "film/FilmEncoder.h"

namespace velmora {

struct FilmEncoder::Impl {};

FilmEncoder::FilmEncoder(const std::string& path, int, int, int) {
  throw IoError(path, "this build has no FFmpeg libraries and cannot write MP4 films; write PNG frames into a folder instead");
}

FilmEncoder::~FilmEncoder() = default;
void FilmEncoder::AddFrame(const uint8_t*, int) {}
void FilmEncoder::Finish() {}
std::string FilmEncoder::CodecName() const { return {}; }
std::string FilmEncoder::FallbackNote() const { return {}; }
bool FilmEncoder::Available() { return false; }

}  // namespace velmora
