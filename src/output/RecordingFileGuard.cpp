#include "output/RecordingFileGuard.h"

#include <filesystem>
#include <system_error>

#include "core/AnalysisState.h"
#include "core/Errors.h"

namespace velmora {

namespace {

bool SameFile(const std::string& a, const std::string& b) {
  std::error_code error;
  return !a.empty() && !b.empty() && std::filesystem::equivalent(a, b, error);
}

}  // namespace

void RefuseRecordingFiles(const std::string& path, const AnalysisState& s) {
  if (SameFile(path, s.ElgFileName) || SameFile(path, s.MarkFileName))
    throw IoError(path, "this is the recording or its mark file; results are never written over them");
}

}  // namespace velmora
