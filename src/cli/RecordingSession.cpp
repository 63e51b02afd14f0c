#include "cli/RecordingSession.h"

#include <functional>
#include <iostream>

#include "cli/OptionParsing.h"
#include "core/AtomicFile.h"
#include "core/Errors.h"
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
  if (!FileExists(matrix)) throw IoError(matrix, "the matrix file is not found");
  MatrixFile::ReadNew(matrix);  // a bad matrix is an error here, not a question
  state_->DefaultMatrixFileName = matrix;
  state_->SmoothElectrograms = smooth;
  reader_.Open(recording, RecordingOpenOptions{false, writeMarkFile});
}

void RecordingSession::ReadMarks(const std::string& path) {
  const MarkFileContents contents = MarkFile::Parse(path, ReadWholeFile(path));
  ReportIgnoredBytes(path, contents, ui_);
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
