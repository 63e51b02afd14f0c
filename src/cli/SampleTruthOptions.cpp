#include "cli/SampleTruthOptions.h"

#include <optional>

#include <fmt/format.h>

#include "cli/OptionParsing.h"

namespace velmora::cli {

void SampleTruthOptions::Add(CLI::App* cmd, std::string& front, SampleSettings& s) {
  cmd->add_option("--front", front, "planar, or radial from a point source (curved fronts)")
      ->type_name("planar|radial")
      ->default_str("planar");
  cmd->add_option("--jitter", s.jitterMs, "SD of random timing noise per activation, 0 to 20 ms")
      ->type_name("MS")
      ->capture_default_str();
  cmd->add_option("--dead", s.deadElectrodes, "electrodes without activations")->type_name("N")->capture_default_str();
}

void SampleTruthOptions::ParseFront(const std::string& front, SampleSettings& s) {
  if (front.empty() || front == "planar") {
    s.front = SampleSettings::Front::Planar;
  } else if (front == "radial") {
    s.front = SampleSettings::Front::Radial;
  } else {
    throw UsageError(fmt::format("--front takes planar or radial (not \"{}\")", front));
  }
}

void SampleTruthOptions::AddPattern(CLI::App* cmd, std::string& pattern) {
  cmd->add_option("--pattern", pattern,
                  "propagation pattern of every wave, the --direction being the array's normal direction "
                  "(counter-clockwise, 90 up the screen)")
      ->type_name("normal|retrograde|ectopic|collision|block|mix");
}

void SampleTruthOptions::ParsePattern(const std::string& pattern, SampleSettings& s) {
  if (pattern.empty()) return;
  const std::optional<SamplePatterns::Choice> choice = SamplePatterns::ChoiceNamed(pattern);
  if (!choice)
    throw UsageError(fmt::format(
        "--pattern takes normal, retrograde, ectopic, collision, block or mix (not \"{}\")", pattern));
  s.pattern = *choice;
}

}  // namespace velmora::cli
