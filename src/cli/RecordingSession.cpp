#include "cli/RecordingSession.h"

#include <functional>
#include <iostream>

#include "cli/OptionParsing.h"
#include "cli/PreferenceSettings.h"
#include "core/AtomicFile.h"
#include "core/Errors.h"
#include "input/AcquisitionReader.h"
#include "input/MatrixFile.h"
#include "marks/MarkFile.h"

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
  if (AcquisitionHeaderCheck::Handles(recording))
    AcquisitionReader(*state_, ui_, root_).Open(recording, RecordingOpenOptions{false, writeMarkFile});
  else
    reader_.Open(recording, RecordingOpenOptions{false, writeMarkFile});
}

void RecordingSession::OpenWithMarks(const std::string& recording, const std::string& matrix,
                                     const std::string& markFile) {
  Open(recording, matrix, true, false);
  const MarkFileContents contents = MarkFile::Parse(markFile, ReadWholeFile(markFile));
  ReportIgnoredBytes(markFile, contents, ui_);
  ApplyMarkFile(*state_, contents);
}

int RunReportingErrors(const std::function<void()>& body) {
  try {
    body();
    return 0;
  } catch (const UsageError&) {
    throw;  // main shows it with the verb's usage
  } catch (const std::exception& error) {
    std::cerr << "error: " << error.what() << '\n';
    return 1;
  }
}

}  // namespace velmora::cli
