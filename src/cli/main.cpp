// velmora-cli: the workbench's formats and computations without a window.
#include <CLI/CLI.hpp>

#include <iostream>
#include <string>

#include "cli/CliCommands.h"
#include "cli/OptionParsing.h"
#include "core/TemporaryFiles.h"

namespace {

constexpr int kUsageExit = 2;

// CLI11 reports a first argument that names no verb as a missing verb.
std::string Explain(const CLI::App& app, const CLI::ParseError& error, int argc, char** argv) {
  if (app.get_subcommands().empty() && argc > 1 && argv[1][0] != '-')
    return "unknown verb \"" + std::string(argv[1]) + "\"";
  return error.what();
}

// The message, then the usage of the verb the command line named (the tool's own when it
// named none): CLI11's help follows the verb that was parsed.
int ReportUsageError(const CLI::App& app, const std::string& message) {
  std::cerr << "error: " << message << "\n\n" << app.help();
  return kUsageExit;
}

}  // namespace

int main(int argc, char** argv) {
  velmora::TemporaryFiles::RemoveOnSignals();
  CLI::App app{"Velmora headless tool: open recordings, inspect marks, make sample data", "velmora-cli"};
  app.require_subcommand(1);
  int exitCode = 0;
  velmora::cli::AddInfoCommand(app, exitCode);
  velmora::cli::AddSamplesCommand(app, exitCode);
  velmora::cli::AddMarksCommand(app, exitCode);
  velmora::cli::AddSampleCommand(app, exitCode);
  velmora::cli::AddRenderCommand(app, exitCode);
  velmora::cli::AddAutomarkCommand(app, exitCode);
  velmora::cli::AddAmplitudesCommand(app, exitCode);
  velmora::cli::AddConnectionsCommand(app, exitCode);
  velmora::cli::AddMapCommand(app, exitCode);
  velmora::cli::AddWavesCommand(app, exitCode);
  velmora::cli::AddPrintCommand(app, exitCode);
  velmora::cli::AddImportCommand(app, exitCode);
  velmora::cli::AddExportCommand(app, exitCode);
  velmora::cli::AddImportMarksCommand(app, exitCode);
  velmora::cli::AddAnimateCommand(app, exitCode);
  velmora::cli::AddEditCommand(app, exitCode);
  velmora::cli::AddSummaryCommand(app, exitCode);
  velmora::cli::AddReportCommand(app, exitCode);
  velmora::cli::AddBatchCommand(app, exitCode);
  velmora::cli::AddSpectrumCommand(app, exitCode);
  velmora::cli::AddQualityCommand(app, exitCode);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    // --help ends parsing with an "error" of its own whose exit status is 0.
    if (error.get_exit_code() == static_cast<int>(CLI::ExitCodes::Success)) return app.exit(error);
    return ReportUsageError(app, Explain(app, error, argc, argv));
  } catch (const velmora::cli::UsageError& error) {
    return ReportUsageError(app, error.what());
  }
  return exitCode;
}
