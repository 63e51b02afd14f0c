#include "input/MatrixChooser.h"

#include <filesystem>

#include "core/AnalysisState.h"
#include "core/AtomicFile.h"
#include "core/DataRoot.h"
#include "core/Errors.h"
#include "core/Ui.h"
#include "input/MatrixFile.h"

namespace velmora {

bool MatrixChooser::ChangeMatrixfile() { return Choose(true); }

bool MatrixChooser::ChangeNewMatrixfile() { return Choose(false); }

bool MatrixChooser::LoadChosenNewMatrix(const std::string& path) { return LoadChosen(path, false); }

bool MatrixChooser::Choose(bool oldFormat) {
  Ui::FileDialogRequest request;
  request.title = oldFormat ? "Open Matrix File" : "Open New Matrix File";
  request.filters = {"Matrix files (*.txt *.Txt *.TXT)", "All files (*)"};
  request.folder = oldFormat ? root_.MatrixFolder() : root_.NewMatrixFolder();
  const auto chosen = ui_.OpenFileDialog(request);
  if (!chosen) return false;
  return LoadChosen(chosen->path, oldFormat);
}

bool MatrixChooser::LoadChosen(const std::string& path, bool oldFormat) {
  if (!FileExists(path)) {
    ui_.Beep();
    ui_.Message(path + " is not found!");
    return false;
  }
  try {
    const MatrixFileContents matrix = oldFormat ? MatrixFile::ReadOld(path) : MatrixFile::ReadNew(path);
    MatrixFile::Apply(state_, matrix);
  } catch (const IoError& error) {
    ui_.Beep();
    ui_.Error(error.what());
    return false;
  }
  state_.MatrixFileName = path;
  state_.DefaultMatrixFileName = path;
  WriteMatrixList(oldFormat ? root_.OldMatrixListPath() : root_.NewMatrixListPath());
  return true;
}

bool MatrixChooser::FindMatrixFor(const std::string& recording, const std::optional<std::string>& problem) {
  const std::vector<std::string> beside = MatrixFilesBeside(recording, state_.MatrixFileName);
  ui_.Beep();
  if (beside.empty()) {
    if (problem) ui_.Message(*problem);
    return ChangeNewMatrixfile();
  }
  const std::string offer = std::filesystem::path(beside.front()).filename().string() +
                            " lies beside the recording. Use it as the electrode matrix?";
  switch (ui_.AskYesNoCancel(problem ? *problem + "\n" + offer : offer)) {
    case Ui::Answer::Yes: return LoadChosenNewMatrix(beside.front()) || ChangeNewMatrixfile();
    case Ui::Answer::No: return ChangeNewMatrixfile();
    case Ui::Answer::Cancel: return false;
  }
  return false;
}

std::vector<std::string> MatrixChooser::MatrixFilesBeside(const std::string& recording, const std::string& wanted) {
  namespace fs = std::filesystem;
  const fs::path folder = fs::path(recording).parent_path();
  std::vector<fs::path> candidates;
  if (!fs::path(wanted).filename().empty()) candidates.push_back(folder / fs::path(wanted).filename());
  candidates.push_back(folder / (fs::path(recording).stem().string() + "-matrix.txt"));
  std::vector<std::string> found;
  for (const fs::path& candidate : candidates) {
    std::error_code error;
    // The matrix named is not offered again: it is missing, or it could not be read.
    const bool named = fs::equivalent(candidate, fs::path(wanted), error);
    if (!named && candidate != fs::path(recording) && fs::is_regular_file(candidate, error))
      found.push_back(candidate.string());
  }
  return found;
}

// The list holds ten history lines and then the matrix chosen last.
std::string MatrixChooser::RememberedNewMatrix(const DataRoot& root) {
  std::string text;
  try {
    text = ReadWholeFile(root.NewMatrixListPath());
  } catch (const IoError&) {
    return "";  // no matrix chosen in any run yet
  }
  size_t begin = 0;
  for (int line = 0; line < 10 && begin != std::string::npos; ++line) {
    begin = text.find('\n', begin);
    if (begin != std::string::npos) ++begin;
  }
  if (begin == std::string::npos || begin >= text.size()) return "";
  std::string path = text.substr(begin, text.find('\n', begin) - begin);
  if (!path.empty() && path.back() == '\r') path.pop_back();
  return path;
}

void MatrixChooser::WriteMatrixList(const std::string& listPath) {
  // Ten history lines (kept empty) and then the matrix in use.
  try {
    WriteFileAtomically(listPath, std::string(10, '\n') + state_.MatrixFileName + "\n");
  } catch (const IoError& error) {
    ui_.Error(error.what());
  }
}

}  // namespace velmora
