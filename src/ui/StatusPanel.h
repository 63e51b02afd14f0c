#pragma once

#include <QWidget>

class QLabel;

namespace velmora {

// The strip along the bottom of the main window with the recording's file name, the matrix,
// the reference time, the signal length and the amplification, each label at a fixed left
// position so the values stay where the eye expects them.
class StatusPanel : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kHeight = 24;

  explicit StatusPanel(QWidget* parent);

  QLabel* FileNameLabel() const { return fileName_; }
  QLabel* MatrixLabel() const { return matrix_; }
  QLabel* RefTime1() const { return refTime_; }
  QLabel* SigLengthLabel() const { return sigLength_; }
  QLabel* AmplitudeLabel() const { return amplitude_; }
  // What the last command wrote, such as the full path of an export.
  QLabel* NoteLabel() const { return note_; }

  // Puts `text` into `label`, shortened in the middle where it would run into the next label
  // (the hint holds the whole of it).
  static void SetFitting(QLabel* label, const QString& text);

 private:
  QLabel* AddLabel(const QString& objectName, int left, int width);

  QLabel* fileName_;
  QLabel* matrix_;
  QLabel* refTime_;
  QLabel* sigLength_;
  QLabel* amplitude_;
  QLabel* note_;
};

}  // namespace velmora
