#pragma once

#include <string>

namespace velmora {

struct AnalysisState;

// Results are written beside or far from a recording, never over it: throws IoError when
// `path` is the recording loaded or its mark file.
void RefuseRecordingFiles(const std::string& path, const AnalysisState& state);

}  // namespace velmora
