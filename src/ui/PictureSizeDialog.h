#pragma once

#include <optional>

#include <QDialog>
#include <QSize>

class QCheckBox;
class QSpinBox;

namespace velmora {

// How big a picture of a pane is to be, and whether in black ink on white for printing.
struct PictureOptions {
  QSize size;
  bool paper = false;
};

// The small dialog after the file name of "Save picture ...": width and height in pixels,
// starting at the pane's own size, and the print-friendly switch.
class PictureSizeDialog : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kLargestSide = 20000;

  PictureSizeDialog(QSize paneSize, QWidget* parent);

  PictureOptions Options() const;
  void SetOptions(const PictureOptions& options);

  // Shows the dialog; nothing when the user cancels.
  static std::optional<PictureOptions> Ask(QSize paneSize, QWidget* parent);

 private:
  QSpinBox* width_;
  QSpinBox* height_;
  QCheckBox* paper_;
};

}  // namespace velmora
