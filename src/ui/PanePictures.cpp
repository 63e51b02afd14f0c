#include "ui/PanePictures.h"

#include <QApplication>
#include <QClipboard>

#include "core/AnalysisState.h"
#include "core/Errors.h"
#include "core/Ui.h"
#include "marks/RecordingFiles.h"
#include "ui/PanePanel.h"
#include "ui/PaneWidget.h"
#include "ui/TMainF.h"

namespace velmora {

namespace {

const std::vector<std::string> kPictureFilters = {"PNG picture (*.png)", "SVG drawing (*.svg)",
                                                  "PDF document (*.pdf)"};
const char* const kSuffixes[] = {".png", ".svg", ".pdf"};

// A name typed without a known suffix takes the one of the chosen filter.
std::string WithSuffix(const std::string& path, int filterIndex) {
  if (PictureFile::FormatOf(path)) return path;
  const int index = filterIndex >= 1 && filterIndex <= 3 ? filterIndex - 1 : 0;
  return path + kSuffixes[index];
}

// The pane's widget draws into the picture for as long as this lives, whatever the drawing
// throws.
class PictureScope {
 public:
  PictureScope(PaneWidget& pane, const PaneWidget::Picture& picture) : pane_(pane) { pane_.BeginPicture(picture); }
  ~PictureScope() { pane_.EndPicture(); }
  PictureScope(const PictureScope&) = delete;
  PictureScope& operator=(const PictureScope&) = delete;

 private:
  PaneWidget& pane_;
};

}  // namespace

PanePictures::PanePictures(TMainF& window) : QObject(&window), window_(window) {
  setObjectName("PanePictures");
  ask_ = [this](QSize paneSize) { return PictureSizeDialog::Ask(paneSize, &window_); };
}

int PanePictures::ChosenPane() const {
  const AnalysisState& s = window_.State();
  return s.TwoPanes && s.ActivePane == 2 ? 2 : 1;
}

QSize PanePictures::PaneSize(int pane) const {
  return (pane == 2 ? window_.PaneB() : window_.PaneA())->Paint()->size();
}

void PanePictures::Redraw(int pane) {
  if (pane == 2) {
    window_.UpdateDisplayB();
  } else {
    window_.UpdateDisplayA();
  }
}

void PanePictures::DrawInto(int pane, QPainter& painter, QSize size, bool paper) {
  PaneWidget& paint = *(pane == 2 ? window_.PaneB() : window_.PaneA())->Paint();
  {
    const PictureScope scope(paint, {&painter, size, paper});
    Redraw(pane);
  }
  // The layout read-outs under the pointer follow the drawing; the screen's size gives them back.
  if (size != paint.size()) Redraw(pane);
}

QImage PanePictures::Image(int pane, const PictureOptions& options) {
  return PictureFile::Image(options.size, [&](QPainter& painter, QSize size) { DrawInto(pane, painter, size, options.paper); });
}

QByteArray PanePictures::Render(int pane, PictureFile::Format format, const PictureOptions& options) {
  return PictureFile::Render(format, options.size,
                             [&](QPainter& painter, QSize size) { DrawInto(pane, painter, size, options.paper); });
}

void PanePictures::Write(int pane, const std::string& path, const PictureOptions& options) {
  const std::optional<PictureFile::Format> format = PictureFile::FormatOf(path);
  if (!format) throw IoError(path, "a picture is written as .png, .svg or .pdf");
  RecordingFiles::CheckTarget(window_.State(), path);
  PictureFile::Write(path, *format, options.size,
                     [&](QPainter& painter, QSize size) { DrawInto(pane, painter, size, options.paper); });
}

void PanePictures::SavePictureClick(int pane) {
  if (pane == 2 && !window_.State().TwoPanes) return;
  Ui& ui = window_.ActiveUi();
  const std::optional<Ui::FileDialogResult> file = ui.SaveFileDialog({"Save picture", kPictureFilters, 1, ""});
  if (!file) return;
  const std::optional<PictureOptions> options = ask_(PaneSize(pane));
  if (!options) return;
  try {
    Write(pane, WithSuffix(file->path, file->filterIndex), *options);
  } catch (const IoError& error) {
    ui.Error(error.what());
  }
}

void PanePictures::CopyPictureClick(int pane) {
  if (pane == 2 && !window_.State().TwoPanes) return;
  QApplication::clipboard()->setImage(Image(pane, {PaneSize(pane), false}));
}

}  // namespace velmora
