#pragma once

#include <QObject>

class QCheckBox;
class QLineEdit;
class QWidget;

namespace velmora {

struct AnalysisState;
class Ui;

// The "WaveF" window: the settings of pane A's wave forms. "OK" takes them (the signal
// length only when it is a whole number, or none of them) and "Cancel" leaves them; both
// hide the window and ask for a redraw. It fills the window shell made at start.
class WaveFormSettingsWindow : public QObject {
  Q_OBJECT

 public:
  WaveFormSettingsWindow(QWidget* shell, AnalysisState& state, Ui& ui);

  // Shows the window with the current settings filled in.
  void Show();
  QWidget* Window() const { return shell_; }
  QLineEdit* EditSignalLength() const { return editSignalLength_; }
  QCheckBox* CheckGrid() const { return checkGrid_; }
  QCheckBox* CheckMarkAlign() const { return checkMarkAlign_; }
  QCheckBox* CheckElgNr() const { return checkElgNr_; }
  QCheckBox* CheckGridLabel() const { return checkGridLabel_; }

  void OkClick();
  void CancelClick();

 signals:
  void closed();

 private:
  QWidget* shell_;
  AnalysisState& state_;
  Ui& ui_;
  QLineEdit* editSignalLength_;
  QCheckBox *checkGrid_, *checkMarkAlign_, *checkElgNr_, *checkGridLabel_;
};

}  // namespace velmora
