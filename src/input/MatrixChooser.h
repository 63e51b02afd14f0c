#pragma once

#include <optional>
#include <string>
#include <vector>

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

  // The recording at `recording` has no usable matrix: `problem` is said (nothing when it has
  // been said already), a matrix file lying beside the recording is offered first, and
  // otherwise, or when the user says No, the "Open New Matrix File" dialog. Returns true when
  // a matrix was loaded; it is then the one chosen last.
  bool FindMatrixFor(const std::string& recording, const std::optional<std::string>& problem);
  static constexpr const char* kNoMatrixChosen = "No electrode matrix has been chosen yet.";

  // Matrix files beside `recording`, most likely first: one of the name of `wanted` (a matrix
  // named for it that is not where it was named), then "<recording's name>-matrix.txt".
  static std::vector<std::string> MatrixFilesBeside(const std::string& recording, const std::string& wanted);
  // The new-format matrix chosen last in an earlier run, from its list file; empty when none.
  static std::string RememberedNewMatrix(const DataRoot& root);

 private:
  bool Choose(bool oldFormat);
  bool LoadChosen(const std::string& path, bool oldFormat);
  void WriteMatrixList(const std::string& listPath);

  AnalysisState& state_;
  Ui& ui_;
  const DataRoot& root_;
};

}  // namespace velmora
