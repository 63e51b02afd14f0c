#pragma once

#include <QObject>

class QButtonGroup;
class QLabel;
class QPushButton;
class QRadioButton;
class QWidget;

namespace velmora {

class TMainF;

// The "CopyToMac" window: a warning that only pane A is copied, the "Copy to Mac facility"
// choice and OK/Cancel. OK asks for the file and writes the chosen copy of pane A; both
// buttons hide the window and redraw.
class TMacForm : public QObject {
  Q_OBJECT

 public:
  // The copy window of the main window's "TMacForm" shell, built the first time it is asked for.
  static TMacForm& Of(TMainF& main);

  QWidget* Window() const { return shell_; }
  QLabel* Warning() const { return warning_; }
  QRadioButton* Item(int index) const;
  QPushButton* OkButton() const { return ok_; }
  QPushButton* CancelButton() const { return cancel_; }

  void SavetoMac1Click();
  void OKbuttonClick();
  void CancelButtonClick();

 private:
  TMacForm(QWidget* shell, TMainF& main);
  void BuildLayout();

  QWidget* shell_;
  TMainF& main_;
  QLabel* warning_ = nullptr;
  QButtonGroup* items_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
};

}  // namespace velmora
