#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/WriteTarget.h"

namespace velmora {

struct AnalysisState;

// The files that belong to the loaded recording: the recording, its matrix, its mark file
// with the settings, journal and lock beside it, and its connection file. Each has its own
// writer (or none); no other writer may replace one of them, whatever name the user gave.
class RecordingFiles {
 public:
  static std::vector<GuardedFile> Of(const AnalysisState& state);
  // Refuses (IoError) a target chosen for an export, a picture, a page, a film or a frame
  // when it is one of the recording's files or not a regular file.
  static void CheckTarget(const AnalysisState& state, const std::string& path);
  // Checks the target, then writes it through a temporary file.
  static void Write(const AnalysisState& state, const std::string& path, std::string_view bytes);
};

}  // namespace velmora
