#pragma once

#include <memory>
#include <string>

#include <QMainWindow>

#include "core/DataRoot.h"

class QPlainTextEdit;

namespace velmora {

struct AnalysisState;
class Canvas;
class E00Reader;
class LoadMessagePanel;
class PanePanel;
class QtUi;
class StatusPanel;
class Ui;

// The main window: the two display panes over the status bar, the memo and the load panel,
// the menu, and the commands that open recordings and leave the program. It owns the one
// analysis state of the run and redraws the panes from it after every command.
class TMainF : public QMainWindow {
  Q_OBJECT

 public:
  static constexpr const char* kCaption = "Velmora304 (12 March  2009)";

  // Dialogs, beeps, progress and log go through `uiOverride` when one is given (a test
  // answers them from a script), otherwise through the window's own Qt dialogs.
  explicit TMainF(Ui* uiOverride = nullptr, QWidget* parent = nullptr);
  ~TMainF() override;

  AnalysisState& State() { return *state_; }
  Ui& ActiveUi() { return *ui_; }
  const DataRoot& Root() const { return root_; }
  PanePanel* PaneA() const { return paneA_; }
  PanePanel* PaneB() const { return paneB_; }
  StatusPanel* Status() const { return status_; }
  QPlainTextEdit* Memo() const { return memo_; }
  LoadMessagePanel* MessagePanel() const { return messagePanel_; }

  // Opens an E00 recording and shows it in pane A. Changed marks are offered for saving
  // first; cancelling that, or a recording that cannot be read, keeps the recording that was
  // loaded. Returns true when `path` is the loaded recording now.
  bool OpenRecording(const std::string& path);

  void UpdateDisplay();
  void UpdateDisplayA();
  void UpdateStatusBar();
  void UpdateHints();
  void SetPanels();
  void DisplayCaptionA();

  void OpenFile1Click();
  void SaveMarks1Click();
  void Quit1Click();

 protected:
  // Leaving the program offers changed marks for saving; Cancel keeps the window open.
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildLayout();
  void BuildFloatingPanels();
  void BuildMenu();
  void PrepareDataRoot();
  void FormCreate();
  void ShowPanesAtStart();
  void ResetPanesForRecording();
  using PaneDrawing = void (*)(const AnalysisState&, Canvas&, int width, int height);
  // Draws into the pane's back buffer through a canvas, then lets the pane show it.
  void DrawPane(PanePanel* pane, PaneDrawing draw);

  std::unique_ptr<AnalysisState> state_;
  DataRoot root_;
  QWidget* mainPanel_ = nullptr;
  PanePanel* paneA_ = nullptr;
  PanePanel* paneB_ = nullptr;
  StatusPanel* status_ = nullptr;
  QPlainTextEdit* memo_ = nullptr;
  LoadMessagePanel* messagePanel_ = nullptr;
  std::unique_ptr<QtUi> qtUi_;
  Ui* ui_ = nullptr;
  std::unique_ptr<E00Reader> reader_;
};

}  // namespace velmora
