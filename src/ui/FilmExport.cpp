#include "ui/FilmExport.h"

#include <filesystem>

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <fmt/format.h>

#include "core/AnalysisState.h"
#include "core/AtomicFile.h"
#include "core/Errors.h"
#include "film/FilmEncoder.h"
#include "maps/ActivationFilm.h"
#include "marks/RecordingFiles.h"
#include "ui/QtCanvas.h"

namespace velmora {

namespace {

void DrawFrame(AnalysisState& state, const ActivationFilm& film, QImage& image, int frame) {
  image.fill(Qt::white);
  QPainter painter(&image);
  QtCanvas canvas(painter);
  film.DrawFrame(state, canvas, image.width(), image.height(), frame, true);
}

// A frame is encoded in memory and written like every other file, so a frame that exists is
// a whole one and a write that fails (a full disk) is an error, leaving nothing behind.
void SaveFrame(const AnalysisState& state, const QImage& image, const std::string& path) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  if (!image.save(&buffer, "PNG")) throw IoError(path, "the frame cannot be encoded as PNG");
  const QByteArray& bytes = buffer.data();
  RecordingFiles::Write(state, path, std::string_view(bytes.constData(), size_t(bytes.size())));
}

}  // namespace

bool FilmExport::IsFolder(const std::string& out) {
  return !out.empty() && (out.back() == '/' || std::filesystem::is_directory(out));
}

std::string FilmExport::FrameName(const std::string& folder, int index) {
  return (std::filesystem::path(folder) / fmt::format("frame{:05}.png", index + 1)).string();
}

FilmExport::Result FilmExport::Write(AnalysisState& state, const ActivationFilm& film, const Request& request,
                                     const Progress& progress) {
  return IsFolder(request.Out) ? WriteFrames(state, film, request, progress)
                               : WriteFilm(state, film, request, progress);
}

FilmExport::Result FilmExport::WriteFilm(AnalysisState& state, const ActivationFilm& film,
                                         const Request& request, const Progress& progress) {
  RecordingFiles::CheckTarget(state, request.Out);
  // The frames are drawn at the film's size, so nothing drawn is cut off by the encoder.
  const int width = request.Width & ~1, height = request.Height & ~1;
  FilmEncoder encoder(request.Out, width, height, request.FramesPerSecond);
  Result result;
  if (!encoder.FallbackNote().empty()) result.Notes.push_back(encoder.FallbackNote());
  if (width != request.Width || height != request.Height)
    result.Notes.push_back(fmt::format("The film's frames are {} x {} pixels, not {} x {}: a film needs an even "
                                       "width and height",
                                       width, height, request.Width, request.Height));
  QImage image(width, height, QImage::Format_RGB32);
  const int total = film.Timing().Count;
  for (int frame = 0; frame < total; ++frame) {
    DrawFrame(state, film, image, frame);
    encoder.AddFrame(image.constBits(), int(image.bytesPerLine()));
    result.Frames = frame + 1;
    if (progress && !progress(frame + 1, total)) {
      result.Cancelled = true;
      return result;  // the encoder removes its unfinished file
    }
  }
  encoder.Finish();
  return result;
}

FilmExport::Result FilmExport::WriteFrames(AnalysisState& state, const ActivationFilm& film,
                                           const Request& request, const Progress& progress) {
  std::error_code failed;
  std::filesystem::create_directories(request.Out, failed);
  if (failed) throw IoError(request.Out, "the folder cannot be made: " + failed.message());
  Result result;
  QImage image(request.Width, request.Height, QImage::Format_RGB32);
  const int total = film.Timing().Count;
  for (int frame = 0; frame < total; ++frame) {
    DrawFrame(state, film, image, frame);
    SaveFrame(state, image, FrameName(request.Out, frame));
    result.Frames = frame + 1;
    if (progress && !progress(frame + 1, total)) {
      result.Cancelled = true;
      break;
    }
  }
  return result;
}

}  // namespace velmora
