// velmora-cli: the workbench's formats and computations without a window.
#include <CLI/CLI.hpp>

#include "cli/CliCommands.h"

int main(int argc, char** argv) {
  CLI::App app{"Velmora headless tool: open recordings, inspect marks, make sample data"};
  app.require_subcommand(1);
  int exitCode = 0;
  velmora::cli::AddInfoCommand(app, exitCode);
  velmora::cli::AddSamplesCommand(app, exitCode);
  velmora::cli::AddMarksCommand(app, exitCode);
  velmora::cli::AddSampleCommand(app, exitCode);
  velmora::cli::AddRenderCommand(app, exitCode);
  velmora::cli::AddAutomarkCommand(app, exitCode);
  velmora::cli::AddAmplitudesCommand(app, exitCode);
  velmora::cli::AddMapCommand(app, exitCode);
  CLI11_PARSE(app, argc, argv);
  return exitCode;
}
