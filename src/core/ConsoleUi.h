#pragma once

#include <iosfwd>

#include "core/Ui.h"

namespace velmora {

// A Ui for running without a window: messages go to a stream (stderr by default), questions
// are answered with No or Cancel, dialogs are cancelled, and the memo log is kept only when
// asked for.
class ConsoleUi : public Ui {
 public:
  explicit ConsoleUi(std::ostream& out, bool showLog = false) : out_(out), showLog_(showLog) {}

  void Beep() override {}
  void Message(const std::string& text) override;
  void Error(const std::string& text) override;
  Answer AskYesNoCancel(const std::string& text) override;
  std::optional<std::string> InputQuery(const std::string&, const std::string&, const std::string&) override {
    return std::nullopt;
  }
  std::optional<FileDialogResult> OpenFileDialog(const FileDialogRequest&) override { return std::nullopt; }
  std::optional<FileDialogResult> SaveFileDialog(const FileDialogRequest&) override { return std::nullopt; }
  void ShowProgress(const ProgressPanel&) override {}
  void SetProgressText(const std::string&) override {}
  void StepProgress() override {}
  void HideProgress() override {}
  void ProcessEvents() override {}
  void Log(const std::string& line) override;

  int ErrorCount() const { return errors_; }

 private:
  std::ostream& out_;
  bool showLog_;
  int errors_ = 0;
};

}  // namespace velmora
