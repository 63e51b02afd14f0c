#include "cli/PreferenceSettings.h"

#include <fmt/format.h>

#include "cli/OptionParsing.h"
#include "commands/PreferenceTable.h"
#include "core/EchoedText.h"

namespace velmora::cli {

void PreferenceSettings::AddOption(CLI::App* cmd, std::vector<std::string>& settings) {
  cmd->add_option("--set", settings, "a preference by its name, e.g. MinDiffValSW=-150 (repeatable)")
      ->type_name("NAME=VALUE")
      ->allow_extra_args(false)
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
}

PreferenceTexts PreferenceSettings::Parse(const std::vector<std::string>& settings) {
  PreferenceTexts texts;
  for (const std::string& setting : settings) {
    const size_t equals = setting.find('=');
    if (equals == std::string::npos)
      throw UsageError(fmt::format("--set takes NAME=VALUE (not \"{}\")", EchoedText::Token(setting)));
    const std::string name = setting.substr(0, equals);
    if (PreferenceTable::Find(name) == nullptr)
      throw UsageError(fmt::format("--set: \"{}\" is not a preference", EchoedText::Token(name)));
    texts[name] = setting.substr(equals + 1);
  }
  return texts;
}

void PreferenceSettings::Store(AnalysisState& s, const PreferenceTexts& texts) {
  if (texts.empty()) return;
  if (const std::optional<PreferenceProblem> problem = PreferenceForm::Store(s, texts))
    throw UsageError(fmt::format("--set {} {}", problem->field->name, problem->reason));
}

}  // namespace velmora::cli
