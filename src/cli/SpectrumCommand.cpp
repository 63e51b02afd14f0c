#include <iostream>
#include <memory>
#include <string>

#include <fmt/format.h>

#include "cli/CliCommands.h"
#include "cli/OptionParsing.h"
#include "cli/PreferenceSettings.h"
#include "cli/RecordingSession.h"
#include "results/Spectrum.h"

namespace velmora::cli {

namespace {

struct SpectrumOptions {
  std::string recording, matrix, channel;
  bool raw = false;
  std::vector<std::string> settings;
};

std::string Cpm(const std::optional<double>& v) { return v ? fmt::format("{:.3f}", *v) : ""; }

void RunSpectrum(const SpectrumOptions& o) {
  const int channel = ParseInt("--channel", o.channel, 1, kChannels);
  RecordingSession session;
  session.UsePreferences(PreferenceSettings::Parse(o.settings));
  session.Open(o.recording, o.matrix, !o.raw, false);
  const std::vector<double> samples = Spectrum::ChannelSamples(session.State(), channel);
  const Spectrum::Result whole = Spectrum::Of(samples, Spectrum::kRateHz);
  std::string text = fmt::format("channel: {}\ndominant_cpm: {}\nspectrum\n", channel, Cpm(whole.dominantCpm));
  double most = 0;
  for (const double p : whole.power) most = std::max(most, p);
  for (size_t i = 0; i < whole.cpm.size(); ++i)
    text += fmt::format("{:.3f}\t{:.6f}\n", whole.cpm[i], most > 0 ? whole.power[i] / most : 0.0);
  text += "over_time\n";
  for (const Spectrum::Moment& m : Spectrum::OverTime(samples, Spectrum::kRateHz))
    text += fmt::format("{:.0f}\t{}\n", m.startS, Cpm(m.dominantCpm));
  std::cout << text;
}

}  // namespace

void AddSpectrumCommand(CLI::App& app, int& exitCode) {
  auto options = std::make_shared<SpectrumOptions>();
  SpectrumOptions& o = *options;
  CLI::App* cmd = app.add_subcommand(
      "spectrum", "Print a channel's power spectrum, its dominant frequency and the dominant frequency over time");
  cmd->add_option("recording", o.recording, "recording: E00, EDF, BDF or GDF")->type_name("REC")->required();
  cmd->add_option("--matrix", o.matrix, "new-format matrix file")->type_name("M")->required();
  cmd->add_option("--channel", o.channel, "channel 1..256")->type_name("C")->required();
  cmd->add_flag("--raw", o.raw, "work on the unsmoothed samples");
  PreferenceSettings::AddOption(cmd, o.settings);
  cmd->callback([options, &exitCode] { exitCode = RunReportingErrors([&] { RunSpectrum(*options); }); });
}

}  // namespace velmora::cli
