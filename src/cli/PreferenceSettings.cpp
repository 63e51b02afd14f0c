#include "cli/PreferenceSettings.h"

#include <fmt/format.h>

#include "cli/OptionParsing.h"
#include "conditioning/FilterChain.h"
#include "commands/PreferenceTable.h"
#include "core/EchoedText.h"

namespace velmora::cli {

void PreferenceSettings::AddOption(CLI::App* cmd, std::vector<std::string>& settings) {
  cmd->add_option("--set", settings, "a preference by its name, e.g. MinDiffValSW=-150 (repeatable)")
      ->type_name("NAME=VALUE")
      ->allow_extra_args(false)
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
  // The filter chain is a set of preferences too; --filter names them the short way.
  cmd->add_option_function<std::string>(
         "--filter",
         [&settings](const std::string& text) {
           FilterChain chain;
           if (const std::optional<std::string> problem = FilterChain::Parse(text, chain))
             throw CLI::ValidationError("--filter", *problem);
           AnalysisState s;
           chain.Store(s);
           for (const char* name : {"FilterMains", "FilterMainsHarmonics", "FilterBaselineSeconds", "FilterLowPassHz",
                                    "FilterSmoothingMs", "FilterSmoothingOrder"})
             settings.push_back(fmt::format("{}={}", name, PreferenceTable::Find(name)->Get(s)));
         },
         "filter chain for EDF, BDF and GDF recordings: notch:50|60[:HARMONICS], baseline:SECONDS, "
         "lowpass:HZ, sg:MS[:ORDER], comma-separated, or none")
      ->type_name("STEP,...");
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
