#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "cli/CliCommands.h"
#include "cli/ExportKinds.h"
#include "cli/OptionParsing.h"
#include "cli/PreferenceSettings.h"
#include "cli/RecordingSession.h"
#include "core/Limits.h"
#include "output/DataPadCommands.h"
#include "output/ElectrodeIntervals.h"

namespace velmora::cli {

namespace {

struct ExportOptions {
  std::string what, recording, matrix, marks, out;
  std::string traces, firstChannel, electrode;
  MapSettingTexts map;
  std::vector<std::string> settings;
};

ExportPane CheckOptions(const ExportOptions& o) {
  ExportPane pane;
  pane.map = CheckMapSettings(o.map);
  pane.electrograms.begin = pane.map.begin;
  pane.electrograms.window = pane.map.window;
  pane.electrograms.traces = ParseOptionalInt("--traces", o.traces, 1, kChannels);
  pane.electrograms.firstChannel = ParseOptionalInt("--first-channel", o.firstChannel, 1, kChannels);
  pane.electrode = ParseOptionalInt("--electrode", o.electrode, ElectrodeIntervals::kFirstElectrode,
                                    ElectrodeIntervals::kLastElectrode);
  return pane;
}

void RunExport(const ExportOptions& o) {
  const ExportKind& kind = FindExportKind(o.what);
  const ExportPane pane = CheckOptions(o);
  RecordingSession session;
  session.UsePreferences(MapPreferences(pane.map, o.settings));
  session.OpenWithMarks(o.recording, o.matrix, o.marks);
  ExportContext context(session.State(), session.UiOut(), pane);
  const std::string bytes = kind.bytes(context);
  if (o.out.empty()) {
    std::cout << bytes;
  } else {
    session.CheckTarget(o.out);
    DataPadCommands::WriteExport(session.State(), o.out, bytes);
  }
}

std::string WhatList() {
  std::string list;
  for (const ExportKind& kind : ExportKinds()) list += std::string(list.empty() ? "" : "|") + kind.what;
  return list;
}

}  // namespace

void AddExportCommand(CLI::App& app, int& exitCode) {
  auto options = std::make_shared<ExportOptions>();
  ExportOptions& o = *options;
  std::string description = "Write an export of the workbench's File > Export menu:";
  for (const ExportKind& kind : ExportKinds()) description += std::string("\n  ") + kind.what + ": " + kind.description;
  CLI::App* cmd = app.add_subcommand("export", description);
  cmd->add_option("what", o.what, "what to export")->type_name(WhatList())->required();
  cmd->add_option("recording", o.recording, "recording: E00, EDF, BDF or GDF")->type_name("REC")->required();
  cmd->add_option("--matrix", o.matrix, "new-format matrix file")->type_name("M")->required();
  cmd->add_option("--marks", o.marks, "mark file (M00)")->type_name("F.M00")->required();
  cmd->add_option("--out", o.out, "write the file here instead of to stdout")->type_name("PATH");
  AddMapSettingOptions(cmd, o.map, false);
  cmd->get_option("--begin")->description("begin of the electrogram or map window in ms (default 0)");
  cmd->get_option("--window")->description("length of the window in ms (default the whole signal)");
  cmd->get_option("--kind")->description("map kind of matrix and mac-map");
  cmd->add_option("--traces", o.traces, "number of traces (default as after opening)")->type_name("N");
  cmd->add_option("--first-channel", o.firstChannel, "channel of the first trace (default as after opening)")
      ->type_name("C");
  cmd->add_option("--electrode", o.electrode, "electrode of allmarks (17 to 255)")->type_name("E");
  PreferenceSettings::AddOption(cmd, o.settings);
  cmd->callback([options, &exitCode] { exitCode = RunReportingErrors([&] { RunExport(*options); }); });
}

}  // namespace velmora::cli
