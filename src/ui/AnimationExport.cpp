#include "ui/AnimationExport.h"

#include <cctype>
#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>

#include <QApplication>
#include <QProgressDialog>
#include <fmt/format.h>

#include "core/AnalysisState.h"
#include "core/Errors.h"
#include "core/Ui.h"
#include "maps/ActivationFilm.h"

namespace velmora {

namespace {

// A modal progress dialog as the export's progress: Cancel ends the export.
FilmExport::Progress DialogProgress(QWidget* parent, std::unique_ptr<QProgressDialog>& dialog, int total) {
  dialog = std::make_unique<QProgressDialog>("Writing the animation ...", "Cancel", 0, total, parent);
  dialog->setWindowTitle("Export animation");
  dialog->setWindowModality(Qt::WindowModal);
  dialog->setMinimumDuration(0);
  QProgressDialog* shown = dialog.get();
  return [shown](int done, int) {
    shown->setValue(done);
    QApplication::processEvents();
    return !shown->wasCanceled();
  };
}

std::string Summary(const FilmExport::Result& result, const std::string& target, const ActivationFilm& film) {
  if (result.Cancelled) return fmt::format("Export cancelled after {} frames; nothing was kept of a film", result.Frames);
  std::string summary = fmt::format("{} frames written to {}", result.Frames, target);
  if (film.Timing().EndCut()) summary += "\n" + film.Timing().CutNote();
  for (const std::string& note : result.Notes) summary += "\n" + note;
  return summary;
}

}  // namespace

std::string AnimationExport::Target(const std::string& chosen) {
  std::filesystem::path path(chosen);
  std::string extension = path.extension().string();
  for (char& c : extension) c = char(std::tolower(static_cast<unsigned char>(c)));
  if (extension == ".mp4") return chosen;
  return path.replace_extension().string() + "/";
}

void AnimationExport::ExportAnimation1Click(AnalysisState& s, Ui& ui, QWidget* parent,
                                            FilmExport::Progress progress) {
  if (!s.FileLoaded) {
    ui.Beep();
    return ui.Message("Open a recording before exporting its animation");
  }
  std::unique_ptr<ActivationFilm> film;
  try {
    film = std::make_unique<ActivationFilm>(s, s.MarkType[s.ActivePane == 2 ? 1 : 0]);
  } catch (const std::invalid_argument& refused) {
    ui.Beep();
    return ui.Error(refused.what());
  }
  Ui::FileDialogRequest request;
  request.title = "Export animation";
  request.filters = {"MP4 film (*.mp4)", "PNG frames into a folder (*)"};
  request.folder = std::filesystem::path(s.ElgFileName).parent_path().string();
  const std::optional<Ui::FileDialogResult> chosen = ui.SaveFileDialog(request);
  if (!chosen || chosen->path.empty()) return;
  const std::string target = Target(chosen->path);
  std::unique_ptr<QProgressDialog> dialog;
  if (!progress) progress = DialogProgress(parent, dialog, film->Timing().Count);
  try {
    const FilmExport::Result result =
        FilmExport::Write(s, *film, {target, kFilmSide, kFilmSide, kFramesPerSecond}, progress);
    ui.Message(Summary(result, target, *film));
  } catch (const IoError& error) {
    ui.Error(error.what());
  }
}

}  // namespace velmora
