#pragma once

#include <functional>
#include <memory>
#include <string>

#include "commands/PreferenceForm.h"
#include "core/AnalysisState.h"
#include "core/ConsoleUi.h"
#include "core/DataRoot.h"
#include "core/SessionLock.h"
#include "input/E00Reader.h"
#include "marks/MarkJournal.h"

namespace velmora::cli {

// A recording opened headless the way the workbench opens it, writing nothing unless asked:
// no recent-files update, and a missing mark file is created only with `writeMarkFile`.
class RecordingSession {
 public:
  RecordingSession();

  // Throws IoError when the matrix or the recording cannot be read.
  void Open(const std::string& recording, const std::string& matrix, bool smooth, bool writeMarkFile);
  // Opens the recording smoothed, then shows the marks of `markFile` instead of its own.
  void OpenWithMarks(const std::string& recording, const std::string& matrix, const std::string& markFile);

  // Preferences stored before the recording is read, so smoothing on load follows them too.
  // A value that cannot be stored ends Open with a UsageError.
  void UsePreferences(PreferenceTexts preferences) { preferences_ = std::move(preferences); }

  // Refuses (IoError) an --out that is one of the recording's files, a file the verb read,
  // or not a regular file.
  void CheckTarget(const std::string& path) const;
  // A file the verb reads besides the recording and its matrix.
  void AddFileRead(const std::string& path) { filesRead_.push_back(path); }

  // For a verb that writes the recording's mark file: holds it against other sessions and
  // follows the store in a journal. Refused (IoError) while another session has the
  // recording open, and while a session that ended without saving left edits beside it.
  void HoldMarkFile();
  // Notes the edits of the verb in the journal.
  void RecordMarkEdits() { journal_.Record(*state_, true); }
  // Writes the mark file; its journal goes once the marks are on disk.
  void SaveMarks();

  AnalysisState& State() { return *state_; }
  ConsoleUi& UiOut() { return ui_; }
  E00Reader& Reader() { return reader_; }

 private:
  std::unique_ptr<AnalysisState> state_;
  ConsoleUi ui_;
  DataRoot root_;
  E00Reader reader_;
  PreferenceTexts preferences_;
  std::vector<std::string> filesRead_;
  SessionLock lock_;
  MarkJournal journal_;
};

// Runs `body`, turning the workbench's errors into a message on stderr and exit status 1.
// A UsageError passes through, for main to report with the verb's usage.
int RunReportingErrors(const std::function<void()>& body);

}  // namespace velmora::cli
