#include "cli/RecordingSession.h"

#include <functional>
#include <iostream>

#include <fmt/format.h>

#include "cli/OptionParsing.h"
#include "cli/PreferenceSettings.h"
#include "core/AtomicFile.h"
#include "core/EchoedText.h"
#include "core/Errors.h"
#include "core/WriteTarget.h"
#include "input/MatrixFile.h"
#include "marks/MarkFile.h"
#include "marks/RecordingFiles.h"

namespace velmora::cli {

RecordingSession::RecordingSession()
    : state_(std::make_unique<AnalysisState>()),
      ui_(std::cerr),
      root_(DataRoot::FromEnvironment()),
      reader_(*state_, ui_, root_) {}

void RecordingSession::Open(const std::string& recording, const std::string& matrix, bool smooth,
                            bool writeMarkFile) {
  state_->SmoothElectrograms = smooth;
  PreferenceSettings::Store(*state_, preferences_);
  if (!FileExists(matrix)) throw IoError(matrix, "the matrix file is not found");
  MatrixFile::ReadNew(matrix);  // a bad matrix is an error here, not a question
  state_->DefaultMatrixFileName = matrix;
  filesRead_ = {recording, matrix};
  reader_.Open(recording, RecordingOpenOptions{false, writeMarkFile});
}

void RecordingSession::OpenWithMarks(const std::string& recording, const std::string& matrix,
                                     const std::string& markFile) {
  Open(recording, matrix, true, false);
  filesRead_.push_back(markFile);
  const MarkFileContents contents = MarkFile::Read(markFile);
  ReportIgnoredBytes(markFile, contents, ui_);
  ApplyMarkFile(*state_, contents);
}

void RecordingSession::CheckTarget(const std::string& path) const {
  RecordingFiles::CheckTarget(*state_, path);
  std::vector<GuardedFile> read;
  for (const std::string& file : filesRead_) read.push_back({file, "a file this command reads"});
  WriteTarget::RefuseGuarded(path, read);
}

void RecordingSession::HoldMarkFile() {
  const AnalysisState& s = *state_;
  if (lock_.Take(s.MarkFileName) == SessionLock::Outcome::HeldElsewhere)
    throw IoError(s.MarkFileName, "is open in another session of the workbench; close the recording there before "
                                  "writing its marks here");
  // Saving would make the unsaved edits of an ended session replay onto marks they were not
  // made on; they are the user's to restore or set aside first.
  if (const std::optional<PendingJournal> pending = MarkJournal::Find(s.MarkFileName))
    throw IoError(pending->path, fmt::format("{} mark edit(s) of a session that ended without saving are kept "
                                             "here; open the recording in the workbench to restore them or set "
                                             "them aside before writing marks",
                                             pending->edits));
  journal_.Bind(s);
}

void RecordingSession::SaveMarks() {
  journal_.Record(*state_, true);
  WriteMarkFile(*state_, ui_);
  journal_.Discard(*state_);
}

int RunReportingErrors(const std::function<void()>& body) {
  try {
    body();
    return 0;
  } catch (const UsageError&) {
    throw;  // main shows it with the verb's usage
  } catch (const std::exception& error) {
    std::cerr << "error: " << EchoedText::Lines(error.what()) << '\n';
    return 1;
  }
}

}  // namespace velmora::cli
