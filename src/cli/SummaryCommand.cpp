#include <iostream>
#include <memory>
#include <string>

#include "cli/CliCommands.h"
#include "cli/OptionParsing.h"
#include "cli/ReportWriting.h"
#include "cli/WaveResults.h"
#include "marks/RecordingFiles.h"
#include "output/ResultsCsv.h"

namespace velmora::cli {

namespace {

struct SummaryOptions {
  WaveResultsOptions results;
  std::string out, perMark, studyRow, saveMarks, report;
};

void WriteOrPrint(const std::string& path, const std::string& text, const AnalysisState& s) {
  if (path.empty()) {
    std::cout << text;
    return;
  }
  RecordingFiles::Write(s, path, text);
}

void RunSummary(const SummaryOptions& o) {
  WaveResults results(o.results);
  const AnalysisState& s = results.State();
  WriteOrPrint(o.out, ResultsCsv::WaveTableText(results.Table()), s);
  if (!o.perMark.empty()) WriteOrPrint(o.perMark, ResultsCsv::WaveMarksText(results.Table()), s);
  if (!o.saveMarks.empty()) results.SaveMarks(o.saveMarks);
  if (o.results.writeMarks) results.WriteOwnMarkFile();
  if (!o.report.empty()) WriteReport(o.report, results);
  if (!o.studyRow.empty()) WriteOrPrint(o.studyRow, ResultsCsv::StudyText({results.Study()}), s);
}

// A recording that cannot be analysed still gets its study row, with the reason.
int RunWithStudyRow(const SummaryOptions& o) {
  try {
    RunSummary(o);
    return 0;
  } catch (const UsageError&) {
    throw;
  } catch (const std::exception& error) {
    std::cerr << "error: " << error.what() << '\n';
    if (!o.studyRow.empty()) WriteFailedStudyRow(o.studyRow, o.results.recording, error.what());
    return 1;
  }
}

}  // namespace

void AddSummaryCommand(CLI::App& app, int& exitCode) {
  auto options = std::make_shared<SummaryOptions>();
  SummaryOptions& o = *options;
  CLI::App* cmd = app.add_subcommand("summary", "Write the wave table of a recording as CSV: one row per wave");
  WaveResultsOptions::Add(cmd, o.results);
  cmd->add_option("--out", o.out, "CSV file (stdout unless given)")->type_name("FILE.csv");
  cmd->add_option("--per-mark", o.perMark, "also write one row per activation")->type_name("FILE.csv");
  cmd->add_option("--study-row", o.studyRow, "also write the recording's row of a study table (with the error "
                                             "when it fails)")
      ->type_name("FILE.csv");
  cmd->add_option("--save-marks", o.saveMarks, "also write the marks used into a mark file of their own")
      ->type_name("FILE.M00");
  cmd->add_flag("--write-marks", o.results.writeMarks, "also save the marks in the recording's own mark file");
  cmd->add_option("--report", o.report, "also write the report, as `report` does")->type_name("FILE.pdf");
  cmd->callback([options, &exitCode] { exitCode = RunWithStudyRow(*options); });
}

}  // namespace velmora::cli
