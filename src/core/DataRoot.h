#pragma once

#include <string>

namespace velmora {

// The workbench's own folders: matrix files of both formats and the recent-files list live
// under $XDG_DATA_HOME/velmora (default ~/.local/share/velmora).
class DataRoot {
 public:
  // Resolves the folders from the environment.
  static DataRoot FromEnvironment();
  explicit DataRoot(std::string root);

  const std::string& Root() const { return root_; }
  std::string MatrixFolder() const;      // old-format matrix files
  std::string NewMatrixFolder() const;   // new-format matrix files and the recent-files list
  std::string RecentFilesPath() const;   // NewMatrixFolder()/FileList.Txt
  std::string OldMatrixListPath() const; // MatrixFolder()/FileList.Txt
  std::string NewMatrixListPath() const; // NewMatrixFolder()/MatrixList.Txt

  // Creates the folders, an empty recent-files list and the bundled sample matrix files
  // where they are missing. Existing files are never touched. Throws IoError on failure.
  void EnsureExists() const;

 private:
  std::string root_;
};

}  // namespace velmora
