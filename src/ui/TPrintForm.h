#pragma once

#include <functional>
#include <memory>

#include <QObject>

#include "output/PrintSettings.h"

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPrinter;
class QWidget;

namespace velmora {

struct AnalysisState;
class Ui;

// The "PrintForm" window: which pane to print, the paper's orientation, the caption line and
// whether the traces are left out. "OK" prints one page on the printer chosen last in the
// print dialog (the system's default printer before), "Cancel" prints nothing; both hide the
// window and ask for a redraw.
class TPrintForm : public QObject {
  Q_OBJECT

 public:
  // `sources` gives the panes' titles and the waves at the moment of printing.
  TPrintForm(QWidget* shell, AnalysisState& state, Ui& ui, std::function<PrintSources()> sources);
  ~TPrintForm() override;

  // File > "Print": the window preset from the last choice and the recording's file info.
  void Print1Click();
  // File > "Print dialog ...": the system's print dialog; a confirmed choice brings the print
  // window to the front.
  void Printersetup1Click();
  void OkClick();
  void CancelClick();

  QWidget* Window() const { return shell_; }
  QPrinter& Printer() const { return *printer_; }
  const PrintSettings& Settings() const { return settings_; }

 signals:
  void closed();

 private:
  void BuildLayout();
  QGroupBox* AddRadioGroup(const char* name, const char* caption, const QStringList& items, QButtonGroup*& group);
  // The panel of the group the window shows: top/left 0, bottom/right 1, both 2.
  int32_t ChosenPanel() const;

  QWidget* shell_;
  AnalysisState& state_;
  Ui& ui_;
  std::function<PrintSources()> sources_;
  std::unique_ptr<QPrinter> printer_;
  PrintSettings settings_;
  QGroupBox *rectangleBox_ = nullptr, *squareBox_ = nullptr;
  QButtonGroup *radioGroupRectangle_ = nullptr, *radioGroupSquare_ = nullptr, *orientationGroup_ = nullptr;
  QLineEdit* editCaption_ = nullptr;
  QCheckBox* checkPrintOnlyMarks_ = nullptr;
};

}  // namespace velmora
