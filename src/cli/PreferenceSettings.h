#pragma once

#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "commands/PreferenceForm.h"
#include "core/AnalysisState.h"

namespace velmora::cli {

// --set NAME=VALUE: any variable of the preferences window by its name, for the verbs whose
// computations use them. Checked as the window checks its fields, so a value the workbench
// refuses is refused here too.
class PreferenceSettings {
 public:
  // Adds the repeatable --set to a verb; the pairs land in `settings`.
  static void AddOption(CLI::App* cmd, std::vector<std::string>& settings);
  // The pairs as the window's fields; a later pair for the same name wins. Throws UsageError
  // for a pair that is not NAME=VALUE or names no preference.
  static PreferenceTexts Parse(const std::vector<std::string>& settings);
  // Stores the values as "OK" in the window would; throws UsageError naming the first value
  // that cannot be stored, with nothing stored.
  static void Store(AnalysisState& s, const PreferenceTexts& texts);
};

}  // namespace velmora::cli
