#include <filesystem>
#include <iostream>

#include <fmt/format.h>

#include "cli/CliCommands.h"
#include "cli/RecordingPrinting.h"
#include "cli/RecordingSession.h"

namespace velmora::cli {

namespace {

struct InfoOptions {
  std::string recording, matrix;
};

}  // namespace

void AddInfoCommand(CLI::App& app, int& exitCode) {
  auto options = std::make_shared<InfoOptions>();
  CLI::App* cmd = app.add_subcommand("info", "Print the geometry of a recording and its bindings");
  cmd->add_option("recording", options->recording, "E00 recording")->required();
  cmd->add_option("--matrix", options->matrix, "new-format matrix file")->required();
  cmd->callback([options, &exitCode] {
    exitCode = RunReportingErrors([&] {
      RecordingSession session;
      session.Open(options->recording, options->matrix, true, false);
      PrintInfo(session.State());
    });
  });
}

}  // namespace velmora::cli
