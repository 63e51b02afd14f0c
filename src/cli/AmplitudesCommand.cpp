#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include <fmt/format.h>

#include "cli/CliCommands.h"
#include "cli/PreferenceSettings.h"
#include "cli/RecordingSession.h"
#include "core/AtomicFile.h"
#include "marks/AmplitudeCalculation.h"
#include "marks/MarkFile.h"

namespace velmora::cli {

namespace {

struct AmplitudesOptions {
  std::string recording, matrix, marks;
  bool raw = false;
  std::vector<std::string> settings;
};

void RunAmplitudes(const AmplitudesOptions& options) {
  RecordingSession session;
  session.UsePreferences(PreferenceSettings::Parse(options.settings));
  session.Open(options.recording, options.matrix, !options.raw, false);
  AnalysisState& s = session.State();
  const MarkFileContents contents = MarkFile::Read(options.marks);
  ReportIgnoredBytes(options.marks, contents, session.UiOut());
  ApplyMarkFile(s, contents);
  AmplitudeCalculation::CalcAmplitudes(s);
  std::string out;
  for (int n = 1; n <= s.MarkCount; ++n) {
    const AmplitudeRecord& a = s.MarkAmplitudes[size_t(n - 1)];
    if (a.Electrode == kNoValue) continue;
    out += fmt::format("{}\t{}\t{}\t{}\t{}\t{}\t{}\t{}\t{:.3f}\t{}\n", n, a.Electrode, s.Mark(n).Time, a.MaxValue,
                       a.MaxSample, a.MinValue, a.MinSample, a.SteepSample, a.Slope, a.Interval);
  }
  std::cout << out;
}

}  // namespace

void AddAmplitudesCommand(CLI::App& app, int& exitCode) {
  auto options = std::make_shared<AmplitudesOptions>();
  CLI::App* cmd =
      app.add_subcommand("amplitudes", "Print amplitude, steepest fall and interval of the slow-wave marks");
  cmd->add_option("recording", options->recording, "recording: E00, EDF, BDF or GDF")->type_name("REC")->required();
  cmd->add_option("--matrix", options->matrix, "new-format matrix file")->required();
  cmd->add_option("--marks", options->marks, "mark file (M00)")->required();
  cmd->add_flag("--raw", options->raw, "work on the unsmoothed samples");
  PreferenceSettings::AddOption(cmd, options->settings);
  cmd->callback([options, &exitCode] { exitCode = RunReportingErrors([&] { RunAmplitudes(*options); }); });
}

}  // namespace velmora::cli
