#pragma once

#include <CLI/CLI.hpp>

namespace velmora::cli {

// Each verb of velmora-cli registers itself on the app; its callback sets `exitCode`
// (0 success, 1 failure, with the reason on stderr) or throws UsageError for a command line
// it cannot take.
void AddInfoCommand(CLI::App& app, int& exitCode);
void AddSamplesCommand(CLI::App& app, int& exitCode);
void AddMarksCommand(CLI::App& app, int& exitCode);
void AddSampleCommand(CLI::App& app, int& exitCode);
void AddRenderCommand(CLI::App& app, int& exitCode);
void AddAutomarkCommand(CLI::App& app, int& exitCode);
void AddAmplitudesCommand(CLI::App& app, int& exitCode);
void AddConnectionsCommand(CLI::App& app, int& exitCode);
void AddMapCommand(CLI::App& app, int& exitCode);
void AddWavesCommand(CLI::App& app, int& exitCode);
void AddPrintCommand(CLI::App& app, int& exitCode);
void AddImportCommand(CLI::App& app, int& exitCode);
void AddExportCommand(CLI::App& app, int& exitCode);
void AddImportMarksCommand(CLI::App& app, int& exitCode);
void AddAnimateCommand(CLI::App& app, int& exitCode);
void AddEditCommand(CLI::App& app, int& exitCode);
void AddSummaryCommand(CLI::App& app, int& exitCode);
void AddReportCommand(CLI::App& app, int& exitCode);
// batch and study
void AddBatchCommand(CLI::App& app, int& exitCode);
void AddSpectrumCommand(CLI::App& app, int& exitCode);
void AddQualityCommand(CLI::App& app, int& exitCode);

}  // namespace velmora::cli
