#include "core/DataRoot.h"

#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/AtomicFile.h"
#include "core/BundledFiles.h"
#include "core/Errors.h"

namespace velmora {

namespace fs = std::filesystem;

DataRoot DataRoot::FromEnvironment() {
  const char* xdg = std::getenv("XDG_DATA_HOME");
  if (xdg != nullptr && *xdg == '/') return DataRoot(std::string(xdg) + "/velmora");
  const char* home = std::getenv("HOME");
  return DataRoot(std::string(home != nullptr ? home : ".") + "/.local/share/velmora");
}

DataRoot::DataRoot(std::string root) : root_(std::move(root)) {}

std::string DataRoot::MatrixFolder() const { return root_ + "/MyMatrix"; }
std::string DataRoot::NewMatrixFolder() const { return root_ + "/MyNewMatrix"; }
std::string DataRoot::RecentFilesPath() const { return NewMatrixFolder() + "/FileList.Txt"; }
std::string DataRoot::OldMatrixListPath() const { return MatrixFolder() + "/FileList.Txt"; }
std::string DataRoot::NewMatrixListPath() const { return NewMatrixFolder() + "/MatrixList.Txt"; }

namespace {

void WriteIfMissing(const std::string& path, const std::string& text) {
  if (!fs::exists(path)) WriteFileAtomically(path, text);
}

}  // namespace

void DataRoot::EnsureExists() const {
  std::error_code ec;
  for (const std::string& folder : {MatrixFolder(), NewMatrixFolder()}) {
    fs::create_directories(folder, ec);
    if (ec) throw IoError(folder, "cannot be created: " + ec.message());
  }
  WriteIfMissing(RecentFilesPath(), std::string(2 * 10, '\n'));
  for (const BundledFile& file : BundledMatrixFiles()) {
    // Old-format files carry "old" in their names; they belong to the old matrix folder.
    const bool oldFormat = file.name.find("-old") != std::string::npos;
    WriteIfMissing((oldFormat ? MatrixFolder() : NewMatrixFolder()) + "/" + file.name, file.text);
  }
}

}  // namespace velmora
