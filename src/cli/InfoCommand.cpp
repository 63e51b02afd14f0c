#include <filesystem>
#include <iostream>

#include <fmt/format.h>

#include "cli/CliCommands.h"
#include "cli/RecordingSession.h"
#include "marks/MarkStore.h"

namespace velmora::cli {

namespace {

struct InfoOptions {
  std::string recording, matrix;
};

void PrintInfo(AnalysisState& s) {
  // Deleted marks keep their slots until the next load; they are not marks.
  const int deleted = MarkStore::CountMarks(s).deleted;
  std::cout << fmt::format("channels: {}\n", s.NrChannelsInFile)
            << fmt::format("bytes_per_sample: {}\n", s.BytesPerSample)
            << fmt::format("header_frames: {}\n", s.HeaderFrames)
            << fmt::format("frames: {}\n", s.NrOfFramesinFile)
            << fmt::format("sig_length: {}\n", s.SigLength)
            << fmt::format("rows_filled: {}\n", s.SignalRowsTouched)
            << fmt::format("grid: {}x{}\n", s.NrCols, s.NrRows)
            << fmt::format("electrode_distance: {}\n", s.ElectrodeDistance)
            << fmt::format("mark_file: {}\n", s.MarkFileName)
            << fmt::format("marks: {}\n", s.MarkCount - deleted)
            << fmt::format("deleted_marks: {}\n", deleted);
}

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
