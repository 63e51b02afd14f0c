#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include <fmt/format.h>

#include "cli/CliCommands.h"
#include "cli/PreferenceSettings.h"
#include "cli/RecordingSession.h"
#include "core/AnalysisState.h"
#include "marks/ElectrodeQuality.h"
#include "maps/MapComputation.h"

namespace velmora::cli {

namespace {

struct QualityOptions {
  std::string recording, matrix;
  bool raw = false;
  std::vector<std::string> settings;
};

void RunQuality(const QualityOptions& o) {
  RecordingSession session;
  session.UsePreferences(PreferenceSettings::Parse(o.settings));
  session.Open(o.recording, o.matrix, !o.raw, false);
  AnalysisState& s = session.State();
  const std::shared_ptr<const ElectrodeQualityTable> table = ElectrodeQuality::Measure(s);
  std::string text;
  for (const ElectrodeQualityTable::Record& r : table->electrodes)
    if (MapComputation::OnGrid(s, r.channel))
      text += fmt::format("{}\t{:.1f}\t{}\n", r.channel, r.quality, ElectrodeQuality::VerdictName(r.verdict));
  std::cout << text;
}

}  // namespace

void AddQualityCommand(CLI::App& app, int& exitCode) {
  auto options = std::make_shared<QualityOptions>();
  QualityOptions& o = *options;
  CLI::App* cmd = app.add_subcommand("quality", "Print how well each electrode records slow waves");
  cmd->add_option("recording", o.recording, "recording: E00, EDF, BDF or GDF")->type_name("REC")->required();
  cmd->add_option("--matrix", o.matrix, "new-format matrix file")->type_name("M")->required();
  cmd->add_flag("--raw", o.raw, "work on the unsmoothed samples");
  PreferenceSettings::AddOption(cmd, o.settings);
  cmd->callback([options, &exitCode] { exitCode = RunReportingErrors([&] { RunQuality(*options); }); });
}

}  // namespace velmora::cli
