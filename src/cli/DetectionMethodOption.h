#pragma once

#include <string>

#include <CLI/CLI.hpp>

#include "commands/PreferenceForm.h"

namespace velmora::cli {

// --method described|robust: the automatic marking's detection method by name, beside --set
// DetectionMethod=N.
class DetectionMethodOption {
 public:
  static CLI::Option* AddOption(CLI::App* cmd, std::string& method);
  // Puts the method named into the preference fields, over any --set of it; nothing when the
  // option was not given.
  static void Apply(const std::string& method, PreferenceTexts& texts);
};

}  // namespace velmora::cli
