#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "cli/CliCommands.h"
#include "cli/ElectrogramPane.h"
#include "cli/OptionParsing.h"
#include "cli/RecordingSession.h"
#include "core/AtomicFile.h"
#include "core/Limits.h"
#include "maps/ConnectionFile.h"
#include "maps/ConnectionMaking.h"

namespace velmora::cli {

namespace {

struct ConnectionsOptions {
  std::string recording, matrix, marks, out;
  std::string begin, window, traces, firstChannel;
};

ElectrogramPane CheckOptions(const ConnectionsOptions& o) {
  return {ParseOptionalInt("--begin", o.begin, 0, kLatestTimeMs),
          ParseOptionalInt("--window", o.window, 1, kLatestTimeMs),
          ParseOptionalInt("--traces", o.traces, 2, kChannels),
          ParseOptionalInt("--first-channel", o.firstChannel, 1, kChannels)};
}

void RunConnections(const ConnectionsOptions& o) {
  const ElectrogramPane pane = CheckOptions(o);
  RecordingSession session;
  session.OpenWithMarks(o.recording, o.matrix, o.marks);
  AnalysisState& s = session.State();
  pane.Show(s);
  ConnectionMaking().MakeConnections(s);
  ConnectionFile::DropDuplicates(s);
  const std::string path = o.out.empty() ? ConnectionFile::FileNameFor(s.ElgFileName, s.MarkFileName) : o.out;
  const std::string text = ConnectionFile::Serialize(s, path);
  if (o.out.empty()) {
    std::cout << text;
  } else {
    session.CheckTarget(o.out);
    WriteFileAtomically(o.out, text);
  }
}

}  // namespace

void AddConnectionsCommand(CLI::App& app, int& exitCode) {
  auto options = std::make_shared<ConnectionsOptions>();
  ConnectionsOptions& o = *options;
  CLI::App* cmd = app.add_subcommand(
      "connections", "Connect the marks of neighbouring traces and print the connection file");
  cmd->add_option("recording", o.recording, "recording: E00, EDF, BDF or GDF")->type_name("REC")->required();
  cmd->add_option("--matrix", o.matrix, "new-format matrix file")->type_name("M")->required();
  cmd->add_option("--marks", o.marks, "mark file (M00)")->type_name("F.M00")->required();
  cmd->add_option("--begin", o.begin, "begin time of the electrogram window in ms (default 0)")->type_name("B");
  cmd->add_option("--window", o.window, "length of the window in ms (default the whole signal)")->type_name("W");
  cmd->add_option("--traces", o.traces, "number of traces (default as after opening)")->type_name("N");
  cmd->add_option("--first-channel", o.firstChannel, "channel of the first trace (default as after opening)")
      ->type_name("C");
  cmd->add_option("--out", o.out, "write the connection file here instead of to stdout")->type_name("F.C00");
  cmd->callback([options, &exitCode] { exitCode = RunReportingErrors([&] { RunConnections(*options); }); });
}

}  // namespace velmora::cli
