#pragma once

#include <optional>
#include <string>
#include <vector>

namespace velmora {

// Everything a command needs from the person in front of it: beeps, messages, questions,
// file dialogs, the progress panel and the memo log. The workbench implements it with Qt,
// the command-line tool with the terminal, tests with a script.
class Ui {
 public:
  enum class Answer { Yes, No, Cancel };

  struct FileDialogRequest {
    std::string title;
    std::vector<std::string> filters;  // "E00 files (*.E0*)" style entries
    int filterIndex = 1;               // 1-based, as the dialogs count
    std::string folder;
  };
  struct FileDialogResult {
    std::string path;
    int filterIndex = 1;
  };

  // What the progress panel shows while a long command runs: the recording and matrix it works
  // on, the number of steps, and a heading naming the work (none when empty).
  struct ProgressPanel {
    std::string fileName;
    std::string matrixName;
    int maximum = 0;
    std::string title;
  };

  virtual ~Ui() = default;

  virtual void Beep() = 0;
  virtual void Message(const std::string& text) = 0;
  // A message box whose title bar says `caption`; where there is no title bar, the text alone.
  virtual void CaptionedMessage(const std::string& caption, const std::string& text) {
    static_cast<void>(caption);
    Message(text);
  }
  // A warning that a command could not do what was asked; the text names file and problem.
  virtual void Error(const std::string& text) = 0;
  virtual Answer AskYesNoCancel(const std::string& text) = 0;
  // Returns the edited value, or nothing when the user cancels.
  virtual std::optional<std::string> InputQuery(const std::string& caption, const std::string& prompt,
                                                const std::string& value) = 0;
  virtual std::optional<FileDialogResult> OpenFileDialog(const FileDialogRequest& request) = 0;
  virtual std::optional<FileDialogResult> SaveFileDialog(const FileDialogRequest& request) = 0;

  virtual void ShowProgress(const ProgressPanel& panel) = 0;
  virtual void SetProgressText(const std::string& text) = 0;
  virtual void StepProgress() = 0;
  virtual void HideProgress() = 0;
  virtual void ProcessEvents() = 0;
  // Whether the person asked the long command under the progress panel to stop (its Cancel
  // button), seen by the last ProcessEvents. A command that honours it leaves the state as it
  // was before it began.
  virtual bool CancelRequested() { return false; }

  // One line in the memo window.
  virtual void Log(const std::string& line) = 0;
};

}  // namespace velmora
