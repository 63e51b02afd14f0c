#include <iostream>
#include <memory>
#include <string>

#include "cli/CliCommands.h"
#include "cli/ElectrogramPane.h"
#include "cli/RecordingSession.h"
#include "core/AtomicFile.h"
#include "marks/MarkFile.h"
#include "output/MarksTextImport.h"

namespace velmora::cli {

namespace {

struct ImportMarksOptions {
  std::string recording, matrix, from;
  bool write = false;
};

void RunImportMarks(const ImportMarksOptions& o) {
  RecordingSession session;
  session.Open(o.recording, o.matrix, true, o.write);
  AnalysisState& s = session.State();
  if (o.write) session.HoldMarkFile();
  // The whole file is checked before the recording's marks change.
  const MarksTextImport::Contents contents = MarksTextImport::Read(o.from);
  const int32_t before = s.MarkCount;
  const std::string difference = MarksTextImport::Apply(s, o.from, contents);
  if (!difference.empty()) std::cerr << "note: " << difference << '\n';
  std::cout << MarkLines(s, before + 1);
  if (o.write) session.SaveMarks();
}

}  // namespace

void AddImportMarksCommand(CLI::App& app, int& exitCode) {
  auto options = std::make_shared<ImportMarksOptions>();
  ImportMarksOptions& o = *options;
  CLI::App* cmd = app.add_subcommand(
      "import-marks", "Read marks from a marks text file as File > Import > \"Marks from .txt file\" does and print them");
  cmd->add_option("recording", o.recording, "recording: E00, EDF, BDF or GDF")->type_name("REC")->required();
  cmd->add_option("--matrix", o.matrix, "new-format matrix file")->type_name("M")->required();
  cmd->add_option("--from", o.from, "marks text file")->type_name("MARKS.txt")->required();
  cmd->add_flag("--write", o.write, "add the marks to the recording's mark file");
  cmd->callback([options, &exitCode] { exitCode = RunReportingErrors([&] { RunImportMarks(*options); }); });
}

}  // namespace velmora::cli
