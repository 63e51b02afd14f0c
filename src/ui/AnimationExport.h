#pragma once

#include <string>

#include "ui/FilmExport.h"

class QWidget;

namespace velmora {

struct AnalysisState;
class Ui;

// File › Export › "Export animation ...": asks where, then writes the activation of the
// active pane's mark kind as an MP4 film or as PNG frames into a folder, with a progress
// dialog whose Cancel stops the export.
class AnimationExport {
 public:
  static constexpr int kFilmSide = 800;
  static constexpr int kFramesPerSecond = 10;

  // `progress` replaces the progress dialog (tests); empty shows the dialog over `parent`.
  static void ExportAnimation1Click(AnalysisState& state, Ui& ui, QWidget* parent,
                                    FilmExport::Progress progress = {});

  // Where the chosen name sends the export: a film for FILE.mp4, else a folder of frames
  // named after the file without its extension.
  static std::string Target(const std::string& chosen);
};

}  // namespace velmora
