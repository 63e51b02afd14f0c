#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/MarkSettings.h"

namespace velmora {

struct AnalysisState;
class Ui;

// The small text file beside a mark file (`REC.M00` -> `REC.M00.settings.txt`) that says how
// its marks were made. The mark file itself keeps its layout.
//
//   velmora mark settings 1
//   [marking]
//   run: automatic SW marking
//   matrix: grid.txt
//   ...
//   [amplitudes]
//   sampling_frequency_hz: 1000
class MarkSettingsFile {
 public:
  static constexpr const char* kSuffix = ".settings.txt";
  static constexpr const char* kFirstLine = "velmora mark settings 1";

  static std::string PathFor(const std::string& markFile) { return markFile + kSuffix; }

  // The settings in force now, as an automatic marking (`run` names which) or an amplitude
  // computation uses them; they replace those of the last run of the same kind.
  static void CaptureMarking(AnalysisState& state, std::string_view run);
  static void CaptureAmplitudes(AnalysisState& state);

  static std::string Text(const MarkSettings& settings);
  // Throws IoError naming the file, the line and the problem.
  static MarkSettings Parse(const std::string& path, const std::string& text);
  // Reads and parses the file at `path`; anything but a readable file of at most the size a
  // settings file has is refused (IoError).
  static MarkSettings ReadFile(const std::string& path);
  // "marking.run: automatic SW marking", one line per entry, marking first.
  static std::vector<std::string> Lines(const MarkSettings& settings);

  // Writes the state's settings beside its mark file when any run is known; leaves a file
  // there alone otherwise. Throws IoError.
  static void Write(const AnalysisState& state);
  // The settings beside the state's mark file, or none when there is no such file. A file
  // that cannot be read is said through `ui` and leaves the state without settings.
  static void Read(AnalysisState& state, Ui& ui);
};

}  // namespace velmora
