#pragma once

#include <optional>
#include <string>

namespace velmora {

struct AnalysisState;
class Ui;

// "to RealBasic": the mark times of the electrodes 65 to 96 (written as 1 to 32) for an
// analysis tool, after the reference marks of electrode 4. Lines of integers, each followed
// by a blank; each electrode line ends with one more blank.
class RealBasicExport {
 public:
  // Electrodes 65-96 are written as the active pane's mark type (none when that is 0).
  static std::string MarksText(const AnalysisState& state);

  // Offers the recording's name with ".TXT" in the save dialog and writes the marks there
  // through a temporary file and a rename. Returns the path written, nothing on cancel.
  static std::optional<std::string> SaveMarksToRealBasic(const AnalysisState& state, Ui& ui);
};

}  // namespace velmora
