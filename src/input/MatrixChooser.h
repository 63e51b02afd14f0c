#pragma once

#include <string>

namespace velmora {

struct AnalysisState;
class DataRoot;
class Ui;

// The two "change matrix" commands: the user picks a matrix file, it is loaded and becomes
// the matrix for the next recording opened, and its path goes into the format's list file.
class MatrixChooser {
 public:
  MatrixChooser(AnalysisState& state, Ui& ui, const DataRoot& root) : state_(state), ui_(ui), root_(root) {}

  // "Change Matrix file": old format. Returns true when a matrix was loaded.
  bool ChangeMatrixfile();
  // "Change New matrix file": new format; also asked for by the recording readers when the
  // matrix they need is missing. Returns true when a matrix was loaded.
  bool ChangeNewMatrixfile();
  // Loads `path` in the new format and makes it the matrix in use; a bad or missing file is
  // reported and leaves the grid and MatrixFileName as they were.
  bool LoadChosenNewMatrix(const std::string& path);

 private:
  bool Choose(bool oldFormat);
  bool LoadChosen(const std::string& path, bool oldFormat);
  void WriteMatrixList(const std::string& listPath);

  AnalysisState& state_;
  Ui& ui_;
  const DataRoot& root_;
};

}  // namespace velmora
