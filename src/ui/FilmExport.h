#pragma once

#include <functional>
#include <string>
#include <vector>

namespace velmora {

struct AnalysisState;
class ActivationFilm;

// Writes the activation film as an MP4 film or as numbered PNG frames into a folder, drawing
// every frame with the panes' canvas, so a frame looks exactly like the animation pane.
class FilmExport {
 public:
  struct Request {
    std::string Out;  // FILM.mp4, or a folder (an existing one, or a path ending in '/')
    int Width = 800, Height = 800;
    int FramesPerSecond = 10;
  };
  // Told after each frame written (frames done, all frames); false cancels the export.
  using Progress = std::function<bool(int done, int total)>;

  struct Result {
    int Frames = 0;        // frames written
    bool Cancelled = false;
    std::vector<std::string> Notes;  // e.g. the encoder fallback or a changed frame size
  };

  // True when `out` names a folder for PNG frames rather than a film.
  static bool IsFolder(const std::string& out);
  // Throws IoError when a frame or the film cannot be written; a cancelled film leaves no file.
  // A film's frames need an even width and height: an odd side is one pixel shorter, and a
  // note says so. PNG frames keep the size asked for.
  static Result Write(AnalysisState& state, const ActivationFilm& film, const Request& request,
                      const Progress& progress);
  // The name of frame `index` (from 0) in `folder`: frame00001.png for the first.
  static std::string FrameName(const std::string& folder, int index);

 private:
  static Result WriteFilm(AnalysisState& state, const ActivationFilm& film, const Request& request,
                          const Progress& progress);
  static Result WriteFrames(AnalysisState& state, const ActivationFilm& film, const Request& request,
                            const Progress& progress);
};

}  // namespace velmora
