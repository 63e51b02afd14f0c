#include <cstdio>
#include <numeric>
#include <string>
#include <vector>

#include <fmt/format.h>

#include "cli/CliCommands.h"
#include "cli/PreferenceSettings.h"
#include "cli/RecordingPrinting.h"
#include "cli/RecordingSession.h"
#include "core/Errors.h"

namespace velmora::cli {

namespace {

struct SamplesOptions {
  std::string recording, matrix, rows;
  std::vector<int> channels;
  bool raw = false;
  std::vector<std::string> settings;
};

}  // namespace

void AddSamplesCommand(CLI::App& app, int& exitCode) {
  auto options = std::make_shared<SamplesOptions>();
  CLI::App* cmd = app.add_subcommand("samples", "Print store rows of a recording, one line per row");
  cmd->add_option("recording", options->recording, "recording: E00, EDF, BDF or GDF")->type_name("REC")->required();
  cmd->add_option("--matrix", options->matrix, "new-format matrix file")->required();
  cmd->add_flag("--raw", options->raw, "the samples as recorded, not smoothed");
  cmd->add_option("--channels", options->channels, "channels to print (default all 256)")
      ->delimiter(',')
      ->check(CLI::Range(1, kChannels));
  cmd->add_option("--rows", options->rows, "rows A:B, from A up to but not including B");
  PreferenceSettings::AddOption(cmd, options->settings);
  cmd->callback([options, &exitCode] {
    exitCode = RunReportingErrors([&] {
      RecordingSession session;
      session.UsePreferences(PreferenceSettings::Parse(options->settings));
      session.Open(options->recording, options->matrix, !options->raw, false);
      std::vector<int> channels = options->channels;
      if (channels.empty()) {
        channels.resize(kChannels);
        std::iota(channels.begin(), channels.end(), 1);
      }
      PrintRows(session.State(), channels, ParseRows(options->rows, session.State().SignalRows()));
    });
  });
}

}  // namespace velmora::cli
