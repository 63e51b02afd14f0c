#include "marks/RecordingFiles.h"

#include "core/AnalysisState.h"
#include "core/AtomicFile.h"
#include "core/SessionLock.h"
#include "maps/ConnectionFile.h"
#include "marks/MarkJournal.h"
#include "marks/MarkSettingsFile.h"

namespace velmora {

std::vector<GuardedFile> RecordingFiles::Of(const AnalysisState& s) {
  std::vector<GuardedFile> files;
  const auto add = [&files](const std::string& path, const char* what) {
    if (!path.empty()) files.push_back({path, what});
  };
  add(s.ElgFileName, "the open recording");
  add(s.ImportFileName, "the imported recording");
  add(s.MatrixFileName, "the electrode matrix in use");
  if (!s.MarkFileName.empty()) {
    add(s.MarkFileName, "the recording's mark file");
    add(MarkSettingsFile::PathFor(s.MarkFileName), "the settings file beside the marks");
    add(MarkJournal::PathFor(s.MarkFileName), "the journal of unsaved mark edits");
    add(SessionLock::PathFor(s.MarkFileName), "the lock of the session on the marks");
  }
  add(ConnectionFile::FileNameFor(s.ElgFileName, s.MarkFileName), "the recording's connection file");
  add(s.ConnectionFileName, "the connection file in use");
  return files;
}

void RecordingFiles::CheckTarget(const AnalysisState& s, const std::string& path) {
  WriteTarget::RefuseSpecial(path);
  WriteTarget::RefuseGuarded(path, Of(s));
}

void RecordingFiles::Write(const AnalysisState& s, const std::string& path, std::string_view bytes) {
  CheckTarget(s, path);
  WriteFileAtomically(path, bytes);
}

}  // namespace velmora
