#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <functional>
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
#include "cli/MapSettings.h"
#include "core/AtomicFile.h"
#include "core/ConsoleUi.h"
#include "core/Limits.h"
#include "core/RecordingCanvas.h"
#include "maps/ConnectionFile.h"
#include "maps/MapComputation.h"
#include "maps/MapDrawing.h"
#include "maps/VelocityCalculation.h"
#include "marks/AmplitudeCalculation.h"
#include "marks/ElectrogramDrawing.h"
#include "marks/MarkFile.h"
#include "maps/WaveFormDrawing.h"
#include "waves/WaveMap.h"

#ifdef VELMORA_CLI_PICTURES
#include "cli/PictureWriter.h"
#endif

namespace velmora::cli {

namespace {

// The options as typed. Numbers are read by the verb itself, so that every bad value ends
// the same way: a message naming the option, the verb's usage and exit status 2.
struct RenderOptions {
  std::string recording, matrix, marks, out;
  std::string connections;
  std::string pane = "electrograms";
  std::string size = "1000x700";
  std::string traces, order, firstChannel, firstCol, firstRow, amplification;
  MapSettingTexts map;  // --begin and --window serve the electrograms too
  std::string wave;
  bool statistics = false;
  bool arrows = false, noLegend = false;
  bool waveforms = false;
  std::vector<std::string> settings;
};

enum class OutputFormat { Text, Png, Pdf, Svg };

// One kind of pane: `apply` sets the opened recording's state as the pane's own options ask,
// then `draw` draws the pane on a canvas of PaneWidth x PaneHeight.
struct PaneRenderer {
  std::function<void(AnalysisState&)> apply;
  std::function<void(AnalysisState&, Canvas&)> draw;
};
// Checks the options of a pane kind (throwing on a bad one) before anything is read.
using PaneKind = PaneRenderer (*)(const RenderOptions&);

std::optional<double> ParseAmplification(const std::string& text) {
  if (text.empty()) return std::nullopt;
  size_t end = 0;
  double value = 0;
  try {
    value = std::stod(text, &end);
  } catch (const std::logic_error&) {
    end = 0;
  }
  if (end == 0 || end != text.size() || !std::isfinite(value) || value <= 0)
    throw UsageError(fmt::format("--amplification takes a number above 0 (not \"{}\")", text));
  return value;
}

std::optional<uint8_t> ParseOrder(const std::string& text) {
  static const std::map<std::string, uint8_t> orders = {
      {"sequential", 0}, {"horizontal", 1}, {"vertical", 2}, {"opposite", 6}};
  if (text.empty()) return std::nullopt;
  const auto found = orders.find(text);
  if (found == orders.end())
    throw UsageError(
        fmt::format("--order takes horizontal, vertical, sequential or opposite (not \"{}\")", text));
  return found->second;
}

OutputFormat ParseOutFormat(const std::string& path) {
  std::string extension = std::filesystem::path(path).extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return char(std::tolower(c)); });
  if (extension == ".txt") return OutputFormat::Text;
  if (extension == ".png") return OutputFormat::Png;
  if (extension == ".pdf") return OutputFormat::Pdf;
  if (extension == ".svg") return OutputFormat::Svg;
  throw UsageError(
      fmt::format("--out must end in .png, .pdf, .svg or .txt (not \"{}\")", path));
}

// The electrogram pane as pane A shows it: BeginA, WindowA and the trace settings.
PaneRenderer ElectrogramPane(const RenderOptions& o) {
  const MapSettings times = CheckMapSettings(o.map);
  const std::optional<int> begin = times.begin, window = times.window;
  const std::optional<int> traces = ParseOptionalInt("--traces", o.traces, 1, kChannels);
  const std::optional<uint8_t> order = ParseOrder(o.order);
  const std::optional<int> firstChannel = ParseOptionalInt("--first-channel", o.firstChannel, 1, kChannels);
  const std::optional<int> firstCol = ParseOptionalInt("--first-col", o.firstCol, 1, kMaxGridCols);
  const std::optional<int> firstRow = ParseOptionalInt("--first-row", o.firstRow, 1, kMaxGridRows);
  const std::optional<double> amplification = ParseAmplification(o.amplification);
  const bool waveforms = o.waveforms;
  auto apply = [=](AnalysisState& s) {
    if (waveforms) s.ElgModeA = 2;
    if (begin) s.BeginA = *begin;
    if (window) s.WindowA = *window;
    if (traces) s.NrTraces = *traces;
    if (order) s.TraceOrder = *order;
    if (firstChannel) s.FirstChannel = *firstChannel;
    if (firstCol) s.FirstCol = *firstCol;
    if (firstRow) s.FirstRow = *firstRow;
    if (amplification) s.Amplification = *amplification;
    s.CurBegin = s.BeginA;
    s.CurWindow = s.WindowA;
  };
  auto draw = [](AnalysisState& s, Canvas& canvas) {
    if (s.ElgModeA == 2) return WaveFormDrawing(s, canvas).DrawWaveForms();
    ElectrogramDrawing(s, canvas).DrawElectrograms();
  };
  return PaneRenderer{apply, draw};
}

// A map pane in the first pane, as the map options say.
PaneRenderer MapPane(const RenderOptions& o) {
  const MapSettings map = CheckMapSettings(o.map);
  const bool arrows = o.arrows, legend = !o.noLegend;
  auto apply = [=](AnalysisState& s) {
    ApplyMapSettings(s, map, 1);
    s.PaneKindA = 0;
    s.MapKindA = map.kind;
    s.PlotVelocities = arrows;
    s.ShowMapLegend = legend;
  };
  auto draw = [](AnalysisState& s, Canvas& canvas) {
    MapDrawingHooks hooks;
    hooks.FillMapGrid = [](AnalysisState& state) {
      // Amplitude and slope maps read the amplitude records, which nothing else fills here.
      if (state.CurMapKind == 4 || state.CurMapKind == 5) CalcAmplitudes(state);
      FillMapGrid(state);
    };
    hooks.ExpandMapGrid = [](AnalysisState& state) { ExpandMapGrid(state); };
    hooks.CalcVelocities = [](AnalysisState& state) { CalcVelocities(state); };
    MapDrawing::DrawMap(s, canvas, s.PaneWidth, s.PaneHeight, hooks);
  };
  return PaneRenderer{apply, draw};
}

// A wave map in the first pane: the waves of its mark kind, the chosen one drawn.
PaneRenderer WavePane(const RenderOptions& o) {
  const int wave = ParseOptionalInt("--wave", o.wave, 1, WaveSearch::kMaxWaves).value_or(1);
  const bool statistics = o.statistics;
  auto apply = [=](AnalysisState& s) {
    s.PaneKindA = 2;
    s.CurMapKind = s.MapKindA;
    s.WaveNrA = wave;
    s.FocusA = true;
    s.ShowStatistics = statistics;
    s.WavesStale = true;
  };
  auto draw = [](AnalysisState& s, Canvas& canvas) {
    ConsoleUi quiet(std::cerr);
    auto waves = std::make_unique<WaveMap>();
    waves->MapWave(s, canvas, s.PaneWidth, s.PaneHeight, quiet, {}, {});
  };
  return PaneRenderer{apply, draw};
}

// The pane kinds --pane knows, by name.
const std::map<std::string, PaneKind>& PaneKinds() {
  static const std::map<std::string, PaneKind> kinds = {{"electrograms", &ElectrogramPane}, {"map", &MapPane}, {"wave", &WavePane}};
  return kinds;
}

PaneRenderer ChoosePane(const RenderOptions& o) {
  const auto found = PaneKinds().find(o.pane);
  if (found == PaneKinds().end()) {
    std::string known;
    for (const auto& [name, kind] : PaneKinds()) known += (known.empty() ? "" : ", ") + name;
    throw UsageError(fmt::format("--pane takes {} (not \"{}\")", known, o.pane));
  }
  return found->second(o);
}

void CheckPicturesPossible(OutputFormat format, const std::string& path) {
#ifndef VELMORA_CLI_PICTURES
  if (format != OutputFormat::Text)
    throw std::runtime_error(
        fmt::format("--out {}: this velmora-cli was built without Qt and writes only .txt drawings", path));
#else
  (void)format, (void)path;
#endif
}

// What opening a recording does to the panes in the workbench: the whole signal in pane A,
// as electrograms, marking slow waves.
void ShowAsOpened(AnalysisState& s) {
  s.WindowAll = s.WindowA = s.SigLength;
  s.PaneKindA = 1;
  s.MarkType = {1, 1};
  s.ActivePane = 1;
}

void ReadMarks(RecordingSession& session, const std::string& path) {
  session.AddFileRead(path);
  const MarkFileContents contents = MarkFile::Read(path);
  ApplyMarkFile(session.State(), contents);
  ReportIgnoredBytes(path, contents, session.UiOut());
}

void WriteText(const std::string& path, AnalysisState& s, const PaneRenderer& pane) {
  RecordingCanvas canvas;
  pane.draw(s, canvas);
  std::string text;
  for (const std::string& line : canvas.Lines()) text += line + '\n';
  WriteFileAtomically(path, text);
}

void WriteOutput(const std::string& path, OutputFormat format, AnalysisState& s, const PaneRenderer& pane) {
  if (format == OutputFormat::Text) return WriteText(path, s, pane);
#ifdef VELMORA_CLI_PICTURES
  const PictureWriter::Format picture = format == OutputFormat::Png   ? PictureWriter::Format::Png
                                        : format == OutputFormat::Pdf ? PictureWriter::Format::Pdf
                                                                      : PictureWriter::Format::Svg;
  PictureWriter::Write(path, picture, s.PaneWidth, s.PaneHeight, [&](Canvas& canvas) { pane.draw(s, canvas); });
#endif
}

void Render(const RenderOptions& o) {
  const OutputFormat format = ParseOutFormat(o.out);
  CheckPicturesPossible(format, o.out);
  const auto [width, height] = ParseSize(o.size, "1000x700");
  const PaneRenderer pane = ChoosePane(o);
  const MapSettings map = CheckMapSettings(o.map);
  RecordingSession session;
  session.UsePreferences(MapPreferences(map, o.settings));
  session.Open(o.recording, o.matrix, true, false);
  AnalysisState& s = session.State();
  ShowAsOpened(s);
  if (!o.marks.empty()) ReadMarks(session, o.marks);
  if (!o.connections.empty()) {
    session.AddFileRead(o.connections);
    ConnectionFile::ApplyConnections(
        s, session.UiOut(), ConnectionFile::Parse(o.connections, ReadWholeFile(o.connections)));
  }
  if (map.referenceMark) ApplyReferenceMark(s, session.UiOut(), *map.referenceMark);
  s.PaneWidth = width;
  s.PaneHeight = height;
  pane.apply(s);
  session.CheckTarget(o.out);
  WriteOutput(o.out, format, s, pane);
}

void AddPaneOptions(CLI::App* cmd, RenderOptions& o) {
  AddMapSettingOptions(cmd, o.map, false);
  cmd->get_option("--begin")->description("electrograms and map: begin time in ms (default 0)");
  cmd->get_option("--window")->description("electrograms and map: window time in ms (default the whole signal)");
  cmd->get_option("--kind")->description("map: map kind");
  cmd->add_option("--traces", o.traces, "electrograms: number of traces (default the grid's columns)")->type_name("N");
  cmd->add_option("--order", o.order, "electrograms: trace order")
      ->type_name("horizontal|vertical|sequential|opposite");
  cmd->add_option("--first-channel", o.firstChannel, "electrograms: first channel of the sequential order")
      ->type_name("C");
  cmd->add_option("--first-col", o.firstCol, "electrograms: grid column the traces start at")->type_name("X");
  cmd->add_option("--first-row", o.firstRow, "electrograms: grid row the traces start at")->type_name("Y");
  cmd->add_option("--amplification", o.amplification, "electrograms: trace amplification, above 0")->type_name("A");
  cmd->add_flag("--arrows", o.arrows, "map: conduction-velocity arrows (time and velocity maps)");
  cmd->add_flag("--no-legend", o.noLegend, "map: leave out the colour legend");
  cmd->add_flag("--waveforms", o.waveforms, "electrograms: one wave form per grid cell, as pane A shows them");
  cmd->add_option("--wave", o.wave, "wave: the wave drawn (default 1)")->type_name("N");
  cmd->add_flag("--statistics", o.statistics, "wave: area and extent above the grid");
}

std::string PaneKindNames() {
  std::string names;
  for (const auto& [name, kind] : PaneKinds()) names += (names.empty() ? "" : "|") + name;
  return names;
}

}  // namespace

void AddRenderCommand(CLI::App& app, int& exitCode) {
  auto options = std::make_shared<RenderOptions>();
  RenderOptions& o = *options;
  CLI::App* cmd = app.add_subcommand("render", "Draw one pane as the workbench would, to PNG, PDF, SVG or text");
  cmd->add_option("recording", o.recording, "recording: E00, EDF, BDF or GDF")->type_name("REC")->required();
  cmd->add_option("--matrix", o.matrix, "new-format matrix file")->type_name("M")->required();
  cmd->add_option("--marks", o.marks, "mark file to show instead of the one beside the recording")
      ->type_name("F.M00");
  cmd->add_option("--connections", o.connections, "electrograms: connection file whose arrows to draw")
      ->type_name("F.C00");
  cmd->add_option("--pane", o.pane, "pane kind")->type_name(PaneKindNames())->capture_default_str();
  cmd->add_option("--size", o.size, "pane size in pixels")->type_name("WxH")->capture_default_str();
  cmd->add_option("--out", o.out, "FILE.png, FILE.pdf, FILE.svg, or FILE.txt for the drawing primitives")
      ->type_name("FILE")
      ->required();
  AddPaneOptions(cmd, o);
  PreferenceSettings::AddOption(cmd, o.settings);
  cmd->callback([options, &exitCode] { exitCode = RunReportingErrors([&] { Render(*options); }); });
}

}  // namespace velmora::cli
