#pragma once

#include <string>

#include <CLI/CLI.hpp>

#include "commands/PreferenceForm.h"

namespace velmora::cli {

// --velocity-method squares|smoothed|fit: the velocity method by name, beside --set
// VelocityMethod=N for scripts that would rather not remember the numbers.
class VelocityMethodOption {
 public:
  static void AddOption(CLI::App* cmd, std::string& method);
  // Puts the method named into the preference fields, over any --set of it; nothing when the
  // option was not given. Throws UsageError for a name that is no method.
  static void Apply(const std::string& method, PreferenceTexts& texts);
};

}  // namespace velmora::cli
