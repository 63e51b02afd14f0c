#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include <fmt/format.h>

#include "cli/CliCommands.h"
#include "cli/ElectrogramPane.h"
#include "cli/PreferenceSettings.h"
#include "cli/RecordingSession.h"
#include "marks/AutomaticMarking.h"
#include "marks/MarkFile.h"
#include "core/Errors.h"

namespace velmora::cli {

namespace {

struct AutomarkOptions {
  std::string recording, matrix;
  bool raw = false, write = false;
  std::string method;
  std::vector<std::string> settings;
};

// Pane A shows the whole signal from its start and marks slow waves, as after loading with
// the start-up settings.
void ShowWholeSignalInPaneA(AnalysisState& s) {
  s.BeginA = 0;
  s.WindowA = s.SigLength;
  s.CurBegin = 0;
  s.CurWindow = s.SigLength;
  s.MarkType[0] = kSlowWave;
  s.ActivePane = 1;
}

void RunAutomark(const AutomarkOptions& options) {
  RecordingSession session;
  session.UsePreferences(PreferenceSettings::Parse(options.settings));
  session.Open(options.recording, options.matrix, !options.raw, options.write);
  AnalysisState& s = session.State();
  // The option of the verb wins over --set, as the verbs' own options do.
  if (options.method == "robust") s.DetectionMethod = AutomaticMarking::kRobustMethod;
  if (options.method == "described") s.DetectionMethod = AutomaticMarking::kThresholdMethod;
  ShowWholeSignalInPaneA(s);
  if (options.write) session.HoldMarkFile();
  const int32_t before = s.MarkCount;
  AutomaticMarking(s, session.UiOut()).MarkAllSlowWaves();
  std::cout << MarkLines(s, before + 1);
  if (options.write) session.SaveMarks();
}

}  // namespace

void AddAutomarkCommand(CLI::App& app, int& exitCode) {
  auto options = std::make_shared<AutomarkOptions>();
  CLI::App* cmd = app.add_subcommand("automark", "Mark the slow waves of every electrode and print the new marks");
  cmd->add_option("recording", options->recording, "recording: E00, EDF, BDF or GDF")->type_name("REC")->required();
  cmd->add_option("--matrix", options->matrix, "new-format matrix file")->required();
  cmd->add_flag("--raw", options->raw, "work on the unsmoothed samples");
  cmd->add_flag("--write", options->write, "save the marks to the recording's mark file");
  cmd->add_option("--method", options->method,
                  "described (the threshold crossing, unless --set DetectionMethod says otherwise) or robust")
      ->check(CLI::IsMember({"described", "robust"}));
  PreferenceSettings::AddOption(cmd, options->settings);
  cmd->callback([options, &exitCode] { exitCode = RunReportingErrors([&] { RunAutomark(*options); }); });
}

}  // namespace velmora::cli
