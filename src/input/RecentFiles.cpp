#include "input/RecentFiles.h"

#include <sstream>

#include "core/AnalysisState.h"
#include "core/AtomicFile.h"
#include "core/Errors.h"
#include "core/ReadableFile.h"
#include "core/Ui.h"

namespace velmora {

namespace {

bool NextLine(std::istream& in, std::string& line) {
  if (!std::getline(in, line)) {
    line.clear();
    return false;
  }
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return true;
}

}  // namespace

bool RecentFiles::Read(AnalysisState& state, const std::string& path, Ui& ui) {
  for (int i = 0; i < kRecentFiles; ++i) {
    state.RecentFileKinds[size_t(i)].clear();
    state.RecentFileNames[size_t(i)].clear();
  }
  std::istringstream in;
  try {
    in.str(ReadableFile(path, "the recent-files list").ReadAll());
  } catch (const IoError& error) {
    ui.Error(error.what());
    return false;
  }
  for (int i = 0; i < kRecentFiles; ++i) {
    if (!NextLine(in, state.RecentFileKinds[size_t(i)])) break;
    if (!NextLine(in, state.RecentFileNames[size_t(i)])) break;
  }
  return true;
}

void RecentFiles::Push(AnalysisState& state, const std::string& kind, const std::string& recording) {
  for (int i = kRecentFiles - 1; i > 0; --i) {
    state.RecentFileKinds[size_t(i)] = state.RecentFileKinds[size_t(i - 1)];
    state.RecentFileNames[size_t(i)] = state.RecentFileNames[size_t(i - 1)];
  }
  state.RecentFileKinds[0] = kind;
  state.RecentFileNames[0] = recording;
}

void RecentFiles::Write(const AnalysisState& state, const std::string& path) {
  std::string text;
  for (int i = 0; i < kRecentFiles; ++i) {
    text += state.RecentFileKinds[size_t(i)] + "\n";
    text += state.RecentFileNames[size_t(i)] + "\n";
  }
  WriteFileAtomically(path, text);
}

}  // namespace velmora
