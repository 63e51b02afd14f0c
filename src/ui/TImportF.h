#pragma once

#include <memory>
#include <string>

#include <QObject>

#include "input/LabImport.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace velmora {

class TMainF;
class Ui;

// The "ImportF" window: one panel per laboratory layout. Each names the file and the most
// samples the store takes, warns when the file has more, and asks whether to load it. The
// Nashville and Manchester panels take the channel and sample counts, the rate and the
// matrix name; the Auckland panel shows what the file's header says.
class TImportF : public QObject {
  Q_OBJECT

 public:
  // The widgets of one panel; the edits only on Nashville and Manchester, the header labels
  // only on Auckland.
  struct Panel {
    QWidget* frame = nullptr;
    QLabel *layout = nullptr, *fileName = nullptr, *maxSamples = nullptr;
    QLabel *warning1 = nullptr, *warning2 = nullptr;
    QLineEdit *channels = nullptr, *samples = nullptr, *rate = nullptr, *matrixName = nullptr;
    QLabel* header[7] = {};
    QPushButton *ok = nullptr, *cancel = nullptr;
  };

  TImportF(QWidget* shell, TMainF& main);
  ~TImportF() override;

  QWidget* Window() const { return shell_; }
  const Panel& NashvilleInfoPanel() const { return nashville_; }
  const Panel& AucklandInfoPanel() const { return auckland_; }
  const Panel& ManchesterInfoPanel() const { return manchester_; }

  // A file chosen with filter 4, 5 or 6: its panel comes up.
  void LoadImportFile(int kind, const std::string& path);
  void ShowImportPanel();
  // File > Import > "Electrogram file": the window as it was last left.
  void ReadEleTextFile1Click();

  void NashvilleOkClick();
  void ManchesterOkClick();
  void AucklandOkClick();
  void NashvilleCancelClick();
  void ManchesterCancelClick();
  void AucklandCancelClick();

 private:
  void BuildPanels();
  void ShowPanel(const ImportPanel& panel);
  void ShowWarnings(const Panel& widgets, const ImportPanel& panel);
  void TakeValuesAndRead(const Panel& widgets);
  void Read();
  void Cancel();
  Panel& WidgetsOf(int kind);

  QWidget* shell_;
  TMainF& main_;
  Ui& ui_;  // the window's own: a refusal's message keeps it in front
  std::unique_ptr<LabImport> import_;
  ImportPanel shown_;
  Panel nashville_, auckland_, manchester_;
};

}  // namespace velmora
