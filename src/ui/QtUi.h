#pragma once

#include <memory>

#include "core/Ui.h"

class QPlainTextEdit;
class QWidget;

namespace velmora {

class DataRoot;
class LoadMessagePanel;

// The workbench's dialogs, beeps, load progress and memo log. Message boxes and file
// dialogs are modal over `dialogParent`; the progress goes to the main window's message
// panel and the log lines to its memo.
class QtUi : public Ui {
 public:
  QtUi(QWidget* dialogParent, LoadMessagePanel* progress, QPlainTextEdit* memo);

  void Beep() override;
  void Message(const std::string& text) override;
  void CaptionedMessage(const std::string& caption, const std::string& text) override;
  void Error(const std::string& text) override;
  Answer AskYesNoCancel(const std::string& text) override;
  std::optional<std::string> InputQuery(const std::string& caption, const std::string& prompt,
                                        const std::string& value) override;
  std::optional<FileDialogResult> OpenFileDialog(const FileDialogRequest& request) override;
  std::optional<FileDialogResult> SaveFileDialog(const FileDialogRequest& request) override;

  void ShowProgress(const ProgressPanel& panel) override;
  void SetProgressText(const std::string& text) override;
  void StepProgress() override;
  void HideProgress() override;
  void ProcessEvents() override;
  bool CancelRequested() override;

  void Log(const std::string& line) override;

  // File dialogs open where the user left each of them last, with the filter chosen last,
  // as kept in the data root's settings; without it they open where the command says.
  void RememberDialogsIn(const DataRoot* root) { dialogRoot_ = root; }

  // The same dialogs, progress and log for the commands of another window: while `window` is
  // shown its message boxes and questions sit over it, so that it stays in front once they
  // are answered; while it is hidden they sit over this Ui's window. Dialog memory is shared.
  std::unique_ptr<QtUi> ForWindow(QWidget* window) const;

 private:
  QWidget* DialogParent() const;
  const DataRoot* DialogRoot() const { return owner_ != nullptr ? owner_->dialogRoot_ : dialogRoot_; }
  std::optional<FileDialogResult> RunFileDialog(const FileDialogRequest& request, bool save);

  QWidget* dialogParent_;
  LoadMessagePanel* progress_;
  QPlainTextEdit* memo_;
  const DataRoot* dialogRoot_ = nullptr;
  const QtUi* owner_ = nullptr;  // the Ui this one was made from by ForWindow
};

}  // namespace velmora
