#pragma once

#include <string>

namespace velmora {

struct AnalysisState;
class Ui;

// The list of the ten recordings opened last, newest first, kept as 20 lines (kind, path).
class RecentFiles {
 public:
  // Reads the list into RecentFileKinds/RecentFileNames. A missing file is reported through
  // `ui` and leaves the list empty; a short file leaves the remaining entries empty.
  // Returns false when the file could not be read.
  static bool Read(AnalysisState& state, const std::string& path, Ui& ui);
  // Puts `recording` first with `kind`, moving the others down (the tenth drops out).
  static void Push(AnalysisState& state, const std::string& kind, const std::string& recording);
  // Writes all 20 lines. Throws IoError.
  static void Write(const AnalysisState& state, const std::string& path);
};

}  // namespace velmora
