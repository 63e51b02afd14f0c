#include <cmath>
#include <iostream>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include <fmt/format.h>

#include "cli/CliCommands.h"
#include "cli/OptionParsing.h"
#include "cli/PreferenceSettings.h"
#include "cli/RecordingSession.h"
#include "cli/ReferenceMarkOption.h"
#include "cli/VelocityMethodOption.h"
#include "core/Arithmetic.h"
#include "core/AtomicFile.h"
#include "core/Limits.h"
#include "maps/MapComputation.h"
#include "maps/MapDrawing.h"
#include "maps/MapStatistics.h"
#include "maps/VelocityArrows.h"
#include "maps/VelocityCalculation.h"
#include "marks/AmplitudeCalculation.h"
#include "marks/MarkFile.h"

namespace velmora::cli {

namespace {

// The options as typed; numbers are read here so that every bad value ends the same way:
// a message naming the option, the verb's usage and exit status 2.
struct MapOptions {
  std::string recording, matrix, marks, kind;
  std::string begin, window, type, reference, cycles, neighbours, digits;
  std::string limitIntervals, velocityStep, maxVelocity, referenceMark;
  std::string size = "1000x1000";
  bool expand = false, stats = false, arrows = false;
  std::vector<std::string> settings;
  std::string velocityMethod;
};

constexpr int kVelocityMap = 6, kFirstRealKind = 4;
constexpr int kLargestNumber = 2'000'000'000;

// The settings the options ask for, checked before anything is read.
struct MapSettings {
  uint8_t kind = 0;
  std::optional<int> begin, window, type, reference, cycles, neighbours, digits;
  std::optional<int> limitIntervals, velocityStep, maxVelocity;
  std::optional<ReferenceEntry> referenceMark;
  int width = 0, height = 0;
};

MapSettings CheckOptions(const MapOptions& o) {
  if (o.stats && o.arrows) throw UsageError("--stats and --arrows cannot be given together");
  MapSettings m;
  m.kind = ParseMapKind(o.kind);
  // A map pane draws arrows over time and velocity maps only.
  if (o.arrows && !VelocityArrows::MapKindHoldsTimes(m.kind))
    throw UsageError(fmt::format("--arrows needs --kind time or velocity (not \"{}\")", o.kind));
  m.begin = ParseOptionalInt("--begin", o.begin, 0, kLargestNumber);
  m.window = ParseOptionalInt("--window", o.window, 1, kLargestNumber);
  m.type = ParseOptionalInt("--type", o.type, 0, 3);
  m.reference = ParseOptionalInt("--reference", o.reference, 0, kLargestNumber);
  m.referenceMark = ParseReferenceMark(o.referenceMark);
  m.cycles = ParseOptionalInt("--cycles", o.cycles, 0, 1000);
  m.neighbours = ParseOptionalInt("--neighbours", o.neighbours, 1, 4);
  m.digits = ParseOptionalInt("--digits", o.digits, 0, 9);
  m.limitIntervals = ParseOptionalInt("--limit-intervals", o.limitIntervals, 1, kLargestNumber);
  m.velocityStep = ParseOptionalInt("--velocity-step", o.velocityStep, 1, kMaxGridCols - 1);
  m.maxVelocity = ParseOptionalInt("--max-velocity", o.maxVelocity, 1, kLargestNumber);
  std::tie(m.width, m.height) = ParseSize(o.size, "1000x1000");
  return m;
}

// The map as the first pane would show it, with the options put into the state.
void ApplySettings(AnalysisState& s, const MapSettings& m, bool expand) {
  s.ActivePane = 1;
  s.CurMapKind = m.kind;
  s.MapBegin = m.begin.value_or(0);
  s.MapWindow = m.window.value_or(s.SigLength);
  if (m.type) s.MarkType[0] = *m.type;
  if (m.reference) s.ReferenceTime = *m.reference;
  s.ExpandMap = expand;
  if (m.cycles) s.NrExpandCycles = *m.cycles;
  if (m.neighbours) s.NrNeighbours = *m.neighbours;
  if (m.digits) s.DigitType = *m.digits;
  if (m.limitIntervals) s.LimitIntervals = true, s.MaxIntervalValue = *m.limitIntervals;
  if (m.velocityStep) s.IncVel = *m.velocityStep;
  if (m.maxVelocity) s.LimitCondVel = true, s.MaxCondVel = *m.maxVelocity;
}

// Fills the grid the way a map pane's redraw does before it draws.
void ComputeMap(AnalysisState& s, const MapSettings& m) {
  MapDrawing::CalcCellSize(s, m.width, m.height);
  if (s.CurMapKind == 4 || s.CurMapKind == 5) AmplitudeCalculation::CalcAmplitudes(s);
  MapComputation::FillMapGrid(s);
  if (s.ExpandMap) MapComputation::ExpandMapGrid(s);
}

double RealValue(const MapCell& cell, int kind) {
  if (kind == 4) return cell.Amplitude;
  if (kind == 5) return cell.Slope;
  return cell.Velocity;
}

// Formats 1..4 give 3, 2, 1 and 0 decimals; the rest give the whole number.
std::optional<int> Decimals(int digitType) {
  if (digitType >= 1 && digitType <= 4) return 4 - digitType;
  return std::nullopt;
}

// One field of a matrix row: a TAB, then the value, or nothing for a cell without one.
std::string MatrixField(const AnalysisState& s, const MapCell& cell) {
  const bool isReal = s.CurMapKind >= kFirstRealKind;
  const double real = isReal ? RealValue(cell, s.CurMapKind) : 0.0;
  const int64_t v = isReal ? RoundHalfEven(real) : cell.Value;
  if (v == kNoValue || v == kAltNoValue) return "\t";
  const std::optional<int> decimals = Decimals(isReal ? s.ExportDigitType : s.DigitType);
  if (!decimals) return fmt::format("\t{}", v);
  return fmt::format("\t{:.{}f}", isReal ? real : double(v) / 1000.0, *decimals);
}

std::string MatrixText(const AnalysisState& s) {
  std::string text = s.ElgFileName + "\n";
  const int cols = MapComputation::UsedCols(s), rows = MapComputation::UsedRows(s);
  for (int row = 1; row <= rows; ++row) {
    text += '\n';
    for (int col = 1; col <= cols; ++col) text += MatrixField(s, s.Cell(col, row));
  }
  return text;  // the last row has no line end
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
  PreferenceTexts preferences = PreferenceSettings::Parse(o.settings);
  VelocityMethodOption::Apply(o.velocityMethod, preferences);
  session.UsePreferences(preferences);
  session.Open(o.recording, o.matrix, true, false);
  AnalysisState& s = session.State();
  const MarkFileContents contents = MarkFile::Parse(o.marks, ReadWholeFile(o.marks));
  ReportIgnoredBytes(o.marks, contents, session.UiOut());
  ApplyMarkFile(s, contents);
  ApplySettings(s, m, o.expand);
  if (m.referenceMark) ApplyReferenceMark(s, session.UiOut(), *m.referenceMark);
  ComputeMap(s, m);
  if (o.stats) {
    std::cout << StatsText(s);
  } else if (o.arrows) {
    std::cout << ArrowsText(s);
  } else {
    std::cout << MatrixText(s);
  }
}

void AddMapSettingOptions(CLI::App* cmd, MapOptions& o) {
  cmd->add_option("--begin", o.begin, "start of the map window in ms (default 0)")->type_name("B");
  cmd->add_option("--window", o.window, "length of the map window in ms (default the whole signal)")
      ->type_name("W");
  cmd->add_option("--type", o.type, "mark kind mapped: 0 all, 1 slow waves, 2 spikes, 3 type 3")
      ->type_name("0|1|2|3");
  cmd->add_option("--reference", o.reference, "reference time in ms subtracted from the times")->type_name("R");
  cmd->add_option("--reference-mark", o.referenceMark, "reference mark of the marks whose time is subtracted")
      ->type_name("ELECTRODE:TIME")
      ->excludes("--reference");
  cmd->add_flag("--expand", o.expand, "fill empty cells from their neighbours");
  cmd->add_option("--cycles", o.cycles, "expansion cycles")->type_name("N");
  cmd->add_option("--neighbours", o.neighbours, "neighbours an empty cell needs to be filled (1 to 4)")
      ->type_name("N");
  cmd->add_option("--digits", o.digits, "digit format of time values: 1..4 seconds with 3..0 decimals")
      ->type_name("D");
  cmd->add_option("--limit-intervals", o.limitIntervals, "leave out intervals longer than this")->type_name("MS");
  cmd->add_option("--velocity-step", o.velocityStep, "cells across a velocity square")->type_name("D");
  cmd->add_option("--max-velocity", o.maxVelocity, "leave out velocities from this speed up")->type_name("CM_S");
}

}  // namespace

void AddMapCommand(CLI::App& app, int& exitCode) {
  auto options = std::make_shared<MapOptions>();
  MapOptions& o = *options;
  CLI::App* cmd = app.add_subcommand("map", "Print a map as a matrix of cell values, its statistics or its arrows");
  cmd->add_option("recording", o.recording, "E00 recording")->type_name("REC.E00")->required();
  cmd->add_option("--matrix", o.matrix, "new-format matrix file")->type_name("M")->required();
  cmd->add_option("--marks", o.marks, "mark file (M00)")->type_name("F.M00")->required();
  cmd->add_option("--kind", o.kind, "map kind")
      ->type_name("time|count|electrode|interval|amplitude|slope|velocity")
      ->required();
  AddMapSettingOptions(cmd, o);
  PreferenceSettings::AddOption(cmd, o.settings);
  VelocityMethodOption::AddOption(cmd, o.velocityMethod);
  cmd->add_flag("--stats", o.stats, "print the map's statistics instead of the matrix");
  cmd->add_flag("--arrows", o.arrows, "print the accepted velocity squares instead of the matrix");
  cmd->add_option("--size", o.size, "map pane size in pixels, for --arrows")->type_name("WxH")->capture_default_str();
  cmd->callback([options, &exitCode] { exitCode = RunReportingErrors([&] { RunMap(*options); }); });
}

}  // namespace velmora::cli
