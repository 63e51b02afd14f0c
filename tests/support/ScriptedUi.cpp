#include "support/ScriptedUi.h"

namespace velmora::testing {

namespace {

template <typename T>
T TakeFront(std::deque<T>& queue, T fallback) {
  if (queue.empty()) return fallback;
  T front = std::move(queue.front());
  queue.pop_front();
  return front;
}

}  // namespace

Ui::Answer ScriptedUi::AskYesNoCancel(const std::string& text) {
  questions.push_back(text);
  return TakeFront(answers, Answer::Cancel);
}

std::optional<std::string> ScriptedUi::InputQuery(const std::string& caption, const std::string& prompt,
                                                  const std::string& value) {
  prompts.push_back({caption, prompt, value});
  return TakeFront(inputs, std::optional<std::string>());
}

std::optional<Ui::FileDialogResult> ScriptedUi::OpenFileDialog(const FileDialogRequest& request) {
  openDialogs.push_back(request);
  return TakeFront(openDialogAnswers, std::optional<FileDialogResult>());
}

std::optional<Ui::FileDialogResult> ScriptedUi::SaveFileDialog(const FileDialogRequest& request) {
  saveDialogs.push_back(request);
  return TakeFront(saveDialogAnswers, std::optional<FileDialogResult>());
}

}  // namespace velmora::testing
