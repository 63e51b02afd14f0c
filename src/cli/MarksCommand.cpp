#include <iostream>

#include <fmt/format.h>

#include "cli/CliCommands.h"
#include "cli/RecordingSession.h"
#include "core/AtomicFile.h"
#include "marks/MarkFile.h"

namespace velmora::cli {

void AddMarksCommand(CLI::App& app, int& exitCode) {
  auto path = std::make_shared<std::string>();
  CLI::App* cmd = app.add_subcommand("marks", "Print the records of a mark file in file order");
  cmd->add_option("markfile", *path, "mark file (M00)")->required();
  cmd->callback([path, &exitCode] {
    exitCode = RunReportingErrors([&] {
      const MarkFileContents contents = MarkFile::Read(*path);
      if (contents.ignoredTrailingBytes > 0)
        std::cerr << fmt::format("{}: the last mark record is cut short; its {} bytes were left out\n", *path,
                                 contents.ignoredTrailingBytes);
      std::string out;
      for (const MarkRecord& mark : contents.records)
        out += fmt::format("{}\t{}\t{}\t{}\n", mark.Electrode, mark.Kind, mark.Time, mark.Origin);
      std::cout << out;
    });
  });
}

}  // namespace velmora::cli
