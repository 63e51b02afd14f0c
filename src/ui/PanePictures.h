#pragma once

#include <functional>
#include <optional>
#include <string>

#include <QByteArray>
#include <QImage>
#include <QObject>
#include <QSize>

#include "ui/PictureFile.h"
#include "ui/PictureSizeDialog.h"

namespace velmora {

class TMainF;

// Pictures of a display pane: the pane's own drawing made again onto a PNG image, an SVG
// drawing or a PDF page, at the pane's size or another, saved through a file dialog or put
// on the clipboard. Pane 1 is A, pane 2 is B.
class PanePictures : public QObject {
  Q_OBJECT

 public:
  using AskOptions = std::function<std::optional<PictureOptions>(QSize paneSize)>;

  explicit PanePictures(TMainF& window);

  // The pane a command without a pane of its own pictures: the active one while it shows.
  int ChosenPane() const;
  QSize PaneSize(int pane) const;

  QImage Image(int pane, const PictureOptions& options);
  QByteArray Render(int pane, PictureFile::Format format, const PictureOptions& options);
  // Throws IoError when the file cannot be written.
  void Write(int pane, const std::string& path, const PictureOptions& options);

  // "Save picture ...": the file dialog, then the size dialog, then the file.
  void SavePictureClick(int pane);
  // Ctrl+Shift+C: the pane as it shows, on the clipboard.
  void CopyPictureClick(int pane);

  // Tests answer the size dialog themselves.
  void SetOptionsAsker(AskOptions ask) { ask_ = std::move(ask); }

 private:
  void DrawInto(int pane, QPainter& painter, QSize size, bool paper);
  void Redraw(int pane);

  TMainF& window_;
  AskOptions ask_;
};

}  // namespace velmora
