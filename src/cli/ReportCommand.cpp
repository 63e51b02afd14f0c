#include <algorithm>
#include <cctype>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

#include <fmt/format.h>

#include "cli/CliCommands.h"
#include "cli/OptionParsing.h"
#include "cli/ReportWriting.h"
#include "cli/WaveResults.h"
#include "marks/RecordingFiles.h"
#include "output/ReportPages.h"

#ifdef VELMORA_CLI_PICTURES
#include "cli/PictureWriter.h"
#include "ui/ReportPdf.h"
#endif

namespace velmora::cli {

namespace {

struct ReportOptions {
  WaveResultsOptions results;
  std::string out;
};

void CheckPdfName(const std::string& path) {
  std::string extension = std::filesystem::path(path).extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return char(std::tolower(c)); });
  if (extension != ".pdf") throw UsageError(fmt::format("--out must end in .pdf (not \"{}\")", path));
}

}  // namespace

void WriteReport(const std::string& path, WaveResults& results) {
  RecordingFiles::CheckTarget(results.State(), path);
#ifndef VELMORA_CLI_PICTURES
  throw std::runtime_error(path + ": this velmora-cli was built without Qt and cannot write PDF files");
#else
  const ReportPages pages(results.Table(), ReportPages::Facts(results.State(), results.Study(), results.MinSites()),
                          QualityPicture::Of(results.State()));
  std::string bytes;
  PictureWriter::WithGuiApplication([&] { bytes = ReportPdf::Bytes(pages); });
  RecordingFiles::Write(results.State(), path, bytes);
#endif
}

void AddReportCommand(CLI::App& app, int& exitCode) {
  auto options = std::make_shared<ReportOptions>();
  ReportOptions& o = *options;
  CLI::App* cmd = app.add_subcommand("report", "Write the wave report of a recording as a PDF file");
  WaveResultsOptions::Add(cmd, o.results);
  cmd->add_option("--out", o.out, "the report")->type_name("report.pdf")->required();
  cmd->callback([options, &exitCode] {
    exitCode = RunReportingErrors([&] {
      CheckPdfName(options->out);
      WaveResults results(options->results);
      WriteReport(options->out, results);
    });
  });
}

}  // namespace velmora::cli
