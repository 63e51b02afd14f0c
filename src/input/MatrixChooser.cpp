#include "input/MatrixChooser.h"

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

void MatrixChooser::WriteMatrixList(const std::string& listPath) {
  // Ten history lines (kept empty) and then the matrix in use.
  try {
    WriteFileAtomically(listPath, std::string(10, '\n') + state_.MatrixFileName + "\n");
  } catch (const IoError& error) {
    ui_.Error(error.what());
  }
}

}  // namespace velmora
