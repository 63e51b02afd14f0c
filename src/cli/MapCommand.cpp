#include <cmath>
#include <iostream>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include <fmt/format.h>

#include "cli/CliCommands.h"
#include "cli/MapSettings.h"
#include "cli/OptionParsing.h"
#include "cli/PreferenceSettings.h"
#include "cli/RecordingSession.h"
#include "cli/ReferenceMarkOption.h"
#include "core/AtomicFile.h"
#include "core/Limits.h"
#include "maps/MapComputation.h"
#include "maps/MapStatistics.h"
#include "maps/VelocityArrows.h"
#include "maps/VelocityCalculation.h"
#include "marks/MarkFile.h"
#include "output/DataPadExports.h"

namespace velmora::cli {

namespace {

// The options as typed; numbers are read by CheckMapSettings so that every bad value ends the
// same way: a message naming the option, the verb's usage and exit status 2.
struct MapOptions {
  std::string recording, matrix, marks;
  MapSettingTexts map;
  std::string size = "1000x1000";
  bool stats = false, arrows = false;
  std::vector<std::string> settings;
};

constexpr int kVelocityMap = 6;

MapSettings CheckOptions(const MapOptions& o) {
  if (o.stats && o.arrows) throw UsageError("--stats and --arrows cannot be given together");
  MapSettings m = CheckMapSettings(o.map);
  // A map pane draws arrows over time and velocity maps only.
  if (o.arrows && !VelocityArrows::MapKindHoldsTimes(m.kind))
    throw UsageError(fmt::format("--arrows needs --kind time or velocity (not \"{}\")", o.map.kind));
  std::tie(m.width, m.height) = ParseSize(o.size, "1000x1000");
  return m;
}

std::string StatsText(const AnalysisState& s) {
  MapStatistics statistics;
  std::vector<std::string> memo;
  statistics.CalcMapStats(s, memo);
  std::string text;
  for (const std::string& line : memo) text += line + '\n';
  return text;
}

// The arrows of the time map of the window, as the pane draws them.
std::string ArrowsText(AnalysisState& s) {
  if (s.CurMapKind != kVelocityMap) VelocityCalculation::CalcVelocities(s);
  std::string text;
  const int cols = MapComputation::UsedCols(s), rows = MapComputation::UsedRows(s);
  for (int col = 1; col <= cols; ++col) {
    for (int row = 1; row <= rows; ++row) {
      const VelocityCell& q = s.Square(col, row);
      if (q.Speed == kNoValue) continue;
      text += fmt::format("{}\t{}\t{:.3f}\t{:.3f}\t{}\t{}\t{}\t{}\n", col, row, q.Speed, q.Direction, q.StartX,
                          q.StartY, q.EndX, q.EndY);
    }
  }
  return text;
}

void RunMap(const MapOptions& o) {
  const MapSettings m = CheckOptions(o);
  RecordingSession session;
  session.UsePreferences(MapPreferences(m, o.settings));
  session.Open(o.recording, o.matrix, true, false);
  AnalysisState& s = session.State();
  const MarkFileContents contents = MarkFile::Read(o.marks);
  ReportIgnoredBytes(o.marks, contents, session.UiOut());
  ApplyMarkFile(s, contents);
  ComputeMap(s, session.UiOut(), m);
  if (o.stats) {
    std::cout << StatsText(s);
  } else if (o.arrows) {
    std::cout << ArrowsText(s);
  } else {
    std::cout << DataPadExports::MatrixText(s);
  }
}

}  // namespace

void AddMapCommand(CLI::App& app, int& exitCode) {
  auto options = std::make_shared<MapOptions>();
  MapOptions& o = *options;
  CLI::App* cmd = app.add_subcommand("map", "Print a map as a matrix of cell values, its statistics or its arrows");
  cmd->add_option("recording", o.recording, "recording: E00, EDF, BDF or GDF")->type_name("REC")->required();
  cmd->add_option("--matrix", o.matrix, "new-format matrix file")->type_name("M")->required();
  cmd->add_option("--marks", o.marks, "mark file (M00)")->type_name("F.M00")->required();
  AddMapSettingOptions(cmd, o.map, true);
  PreferenceSettings::AddOption(cmd, o.settings);
  cmd->add_flag("--stats", o.stats, "print the map's statistics instead of the matrix");
  cmd->add_flag("--arrows", o.arrows,
                "print the accepted velocity squares instead of the matrix; directions in degrees counter-clockwise, "
                "0 towards increasing columns, 90 up the screen (towards decreasing rows)");
  cmd->add_option("--size", o.size, "map pane size in pixels, for --arrows")->type_name("WxH")->capture_default_str();
  cmd->callback([options, &exitCode] { exitCode = RunReportingErrors([&] { RunMap(*options); }); });
}

}  // namespace velmora::cli
