#include <filesystem>
#include <iostream>

#include <fmt/format.h>

#include "cli/CliCommands.h"
#include "cli/PreferenceSettings.h"
#include "cli/RecordingPrinting.h"
#include "cli/RecordingSession.h"
#include "core/AnalysisState.h"
#include "core/AtomicFile.h"
#include "maps/MapComputation.h"
#include "marks/ElectrodeQuality.h"
#include "marks/MarkSettingsFile.h"

namespace velmora::cli {

namespace {

struct InfoOptions {
  std::string recording, matrix;
  std::vector<std::string> settings;
};

// How the marks were made, after the rest; a settings file that cannot be read fails the
// verb (the session has said why already).
void PrintMarkSettings(const AnalysisState& s) {
  MarkSettings settings = s.MarkingSettings;
  const std::string path = MarkSettingsFile::PathFor(s.MarkFileName);
  if (settings.Empty() && AnythingAt(path)) settings = MarkSettingsFile::ReadFile(path);
  for (const std::string& line : MarkSettingsFile::Lines(settings)) std::cout << line << '\n';
}

// How many electrodes of the grid record slow waves well, weakly or not at all, and which
// look dead.
void PrintQuality(AnalysisState& s) {
  const std::shared_ptr<const ElectrodeQualityTable> table = ElectrodeQuality::Measure(s);
  int counts[3] = {};
  for (const ElectrodeQualityTable::Record& r : table->electrodes)
    if (MapComputation::OnGrid(s, r.channel)) ++counts[int(r.verdict)];
  std::cout << fmt::format("electrode_quality: {} good, {} weak, {} dead\n", counts[0], counts[1], counts[2]);
  std::string dead;
  for (const int32_t channel : ElectrodeQuality::DeadChannels(s, *table, true)) dead += fmt::format(" {}", channel);
  std::cout << "dead_electrodes:" << (dead.empty() ? " none" : dead) << '\n';
}

}  // namespace

void AddInfoCommand(CLI::App& app, int& exitCode) {
  auto options = std::make_shared<InfoOptions>();
  CLI::App* cmd = app.add_subcommand("info", "Print the geometry of a recording and its bindings");
  cmd->add_option("recording", options->recording, "recording: E00, EDF, BDF or GDF")->type_name("REC")->required();
  cmd->add_option("--matrix", options->matrix, "new-format matrix file")->required();
  PreferenceSettings::AddOption(cmd, options->settings);
  cmd->callback([options, &exitCode] {
    exitCode = RunReportingErrors([&] {
      RecordingSession session;
      session.UsePreferences(PreferenceSettings::Parse(options->settings));
      session.Open(options->recording, options->matrix, true, false);
      PrintInfo(session.State());
      PrintAcquisition(session.State());
      PrintQuality(session.State());
      PrintMarkSettings(session.State());
    });
  });
}

}  // namespace velmora::cli
