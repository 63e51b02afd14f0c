#include "cli/SampleImpairmentOptions.h"

namespace velmora::cli {

void SampleImpairmentOptions::Add(CLI::App* cmd, SignalImpairments& i) {
  cmd->add_option("--noise-uv", i.noiseUv, "SD of white noise on every channel in uV, in place of the electrodes' own")
      ->type_name("UV");
  cmd->add_option("--mains-uv", i.mainsUv, "amplitude of mains hum in uV (each channel 60-100 % of it)")
      ->type_name("UV");
  cmd->add_option("--mains-hz", i.mainsHz, "frequency of the mains hum")->type_name("HZ")->capture_default_str();
  cmd->add_option("--drift-uv", i.driftUv, "amplitude of a baseline drift in uV")->type_name("UV");
  cmd->add_option("--drift-hz", i.driftHz, "frequency of the drift (each channel within 20 % of it)")
      ->type_name("HZ")
      ->capture_default_str();
  cmd->add_option("--artifacts", i.artifactsPerMinute,
                  "large, slow motion artifacts on all channels, this many a minute at random times")
      ->type_name("N");
}

}  // namespace velmora::cli
