#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "core/Ui.h"

namespace velmora::testing {

// A Ui that answers from queues prepared by the test and records everything said to it.
// An empty queue answers Cancel (questions) or nothing (prompts and dialogs).
class ScriptedUi : public Ui {
 public:
  void Beep() override { ++beeps; }
  void Message(const std::string& text) override { messages.push_back(text); }
  void CaptionedMessage(const std::string& caption, const std::string& text) override {
    messageCaptions.push_back(caption);
    messages.push_back(text);
  }
  void Error(const std::string& text) override { errors.push_back(text); }
  Answer AskYesNoCancel(const std::string& text) override;
  std::optional<std::string> InputQuery(const std::string& caption, const std::string& prompt,
                                        const std::string& value) override;
  std::optional<FileDialogResult> OpenFileDialog(const FileDialogRequest& request) override;
  std::optional<FileDialogResult> SaveFileDialog(const FileDialogRequest& request) override;
  void ShowProgress(const ProgressPanel& panel) override { progressPanels.push_back(panel); }
  void SetProgressText(const std::string& text) override { progressTexts.push_back(text); }
  void StepProgress() override { ++progressSteps; }
  void HideProgress() override { ++progressHidden; }
  void ProcessEvents() override { ++processEventsCalls; }
  bool CancelRequested() override { return cancelAtEvents > 0 && processEventsCalls >= cancelAtEvents; }
  void Log(const std::string& line) override { log.push_back(line); }

  // Answers to give, in order.
  std::deque<Answer> answers;
  std::deque<std::optional<std::string>> inputs;
  std::deque<std::optional<FileDialogResult>> openDialogAnswers;
  std::deque<std::optional<FileDialogResult>> saveDialogAnswers;
  // The Cancel button of the progress panel is pressed by this many ProcessEvents calls (0: never).
  int cancelAtEvents = 0;

  // What happened.
  int beeps = 0;
  std::vector<std::string> messages, errors, questions, log, progressTexts;
  std::vector<std::string> messageCaptions;  // of the messages that had one
  std::vector<FileDialogRequest> openDialogs, saveDialogs;
  struct Prompt {
    std::string caption, prompt, value;
  };
  std::vector<Prompt> prompts;
  std::vector<ProgressPanel> progressPanels;
  int progressSteps = 0, progressHidden = 0, processEventsCalls = 0;
};

}  // namespace velmora::testing
