#pragma once

#include <QFrame>

class QLabel;
class QProgressBar;
class QPushButton;

namespace velmora {

// The floating panel that shows which recording and matrix are being loaded and how far the
// load has come. It lives over the main panel, hidden between loads.
class LoadMessagePanel : public QFrame {
  Q_OBJECT

 public:
  static constexpr int kStartWidth = 320;
  static constexpr int kHeight = 140;

  explicit LoadMessagePanel(QWidget* parent);

  // Shows the panel with the heading `title` (none when empty), the two names, an empty bar of
  // `maximum` steps and no text. A file name wider than the panel widens the panel to the
  // name's width + 30 pixels.
  void Start(const QString& fileName, const QString& matrixName, int maximum, const QString& title = {});
  void SetText(const QString& text);
  void Step();
  void Finish();
  // Whether Cancel was pressed since the last Start.
  bool CancelRequested() const { return cancelRequested_; }

 private:
  void LayOut();
  QLabel* AddLabel(const QString& objectName, const QString& text);

  QLabel* title_;
  QLabel* text_;
  QLabel* fileCaption_;
  QLabel* matrixCaption_;
  QLabel* fileName_;
  QLabel* matrixName_;
  QProgressBar* bar_;
  QPushButton* cancel_;
  bool cancelRequested_ = false;
};

}  // namespace velmora
