// The preferences as text, as --set NAME=VALUE gives them (one pair a line): checked and
// stored as the preferences window would, then put back to the described values.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzRecording.h"
#include "cli/OptionParsing.h"
#include "cli/PreferenceSettings.h"
#include "commands/PreferenceForm.h"

using namespace velmora;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  AnalysisState& state = fuzz::FuzzRecording::Shared().State();
  std::vector<std::string> settings;
  std::string text(reinterpret_cast<const char*>(data), size);
  for (size_t start = 0; start <= text.size();) {
    const size_t end = std::min(text.find('\n', start), text.size());
    settings.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  try {
    cli::PreferenceSettings::Store(state, cli::PreferenceSettings::Parse(settings));
  } catch (const cli::UsageError&) {
  }
  PreferenceForm::Store(state, PreferenceForm::Described());
  return 0;
}
