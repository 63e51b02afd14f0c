#pragma once

#include <optional>
#include <string>

#include "marks/ReferenceTable.h"

namespace velmora {
struct AnalysisState;
class Ui;
}  // namespace velmora

namespace velmora::cli {

// "--reference-mark ELECTRODE:TIME": the reference chosen from the reference table, as "OK"
// in the table takes it. Nothing when the option was not given; UsageError when ill-formed.
std::optional<ReferenceEntry> ParseReferenceMark(const std::string& text);
// Makes `mark` the reference of every time; refused (std::runtime_error) when the loaded
// marks list no such reference. "0:0" is the table's "no reference".
void ApplyReferenceMark(AnalysisState& state, Ui& ui, const ReferenceEntry& mark);

}  // namespace velmora::cli
