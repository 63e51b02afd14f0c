#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>
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
#include "cli/ReferenceMarkOption.h"
#include "cli/RecordingSession.h"
#include "commands/PaneCaptions.h"
#include "core/AnalysisState.h"
#include "core/Limits.h"
#include "marks/AmplitudeCalculation.h"
#include "output/PrintMapPane.h"
#include "output/PrintSettings.h"

#ifdef VELMORA_CLI_PICTURES
#include "cli/PictureWriter.h"
#include "ui/PagePrinter.h"
#endif

namespace velmora::cli {

namespace {

struct PrintOptions {
  std::string recording, matrix, marks, out;
  std::string panel = "top";
  std::string orientation = "landscape";
  std::optional<std::string> caption;
  bool onlyMarks = false;
  MapSettingTexts map;  // pane B's map
  std::vector<std::string> settings;
};

int32_t ParseChoice(const std::string& option, const std::string& text, const std::map<std::string, int32_t>& choices) {
  const auto found = choices.find(text);
  if (found != choices.end()) return found->second;
  std::string names;
  for (const auto& [name, value] : choices) names += (names.empty() ? "" : ", ") + name;
  throw UsageError(fmt::format("{} takes {} (not \"{}\")", option, names, text));
}

void CheckPdfPath(const std::string& path) {
  std::string extension = std::filesystem::path(path).extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return char(std::tolower(c)); });
  if (extension != ".pdf") throw UsageError(fmt::format("--out must end in .pdf (not \"{}\")", path));
}

// The window just after opening, with pane B tiled below as the time map of the whole signal.
void ShowBothPanes(AnalysisState& s, bool twoPanes) {
  s.WindowAll = s.WindowA = s.WindowB = s.SigLength;
  s.BeginA = s.BeginB = 0;
  s.PaneKindA = 1;
  s.PaneKindB = 0;
  s.MapKindB = 0;
  s.MarkType = {1, 1};
  s.ActivePane = 1;
  s.TwoPanes = twoPanes;
  s.TileStacked = true;
}

PrintSources TitlesAndHooks(const AnalysisState& s) {
  PrintSources sources;
  sources.TitleBarA = PaneCaptions::PrintedCaption(s, 1);
  sources.TitleBarB = PaneCaptions::PrintedCaption(s, 2);
  sources.MapHooks = PrintMapPane::StandardHooks();
  return sources;
}

void PrintPdf(const PrintOptions& o) {
  CheckPdfPath(o.out);
  const MapSettings map = CheckMapSettings(o.map);
  PrintSettings settings;
  settings.PrintPanel = ParseChoice("--panel", o.panel, {{"top", 0}, {"bottom", 1}, {"both", 2}});
  settings.PrintOrientation = ParseChoice("--orientation", o.orientation, {{"landscape", 0}, {"portrait", 1}});
#ifndef VELMORA_CLI_PICTURES
  throw std::runtime_error("--out: this velmora-cli was built without Qt and cannot print");
#else
  RecordingSession session;
  session.UsePreferences(MapPreferences(map, o.settings));
  if (o.marks.empty()) {
    session.Open(o.recording, o.matrix, true, false);
  } else {
    session.OpenWithMarks(o.recording, o.matrix, o.marks);
  }
  AnalysisState& s = session.State();
  ShowBothPanes(s, settings.PrintPanel != 0);
  ApplyMapSettings(s, map, 2);
  s.ActivePane = 1;  // pane A stays the active one, as after opening
  if (map.referenceMark) ApplyReferenceMark(s, session.UiOut(), *map.referenceMark);
  // Amplitude and slope maps read the amplitude records, which nothing else fills here.
  if (s.MapKindB == 4 || s.MapKindB == 5) AmplitudeCalculation::CalcAmplitudes(s);
  s.PrintOnlyMarks = o.onlyMarks;
  settings.PrintCaption = o.caption.value_or(s.FileInfo);
  const PrintSources sources = TitlesAndHooks(s);
  session.CheckTarget(o.out);
  PictureWriter::WithGuiApplication([&] { PagePrinter::PrintToPdf(o.out, s, settings, sources); });
#endif
}

}  // namespace

void AddPrintCommand(CLI::App& app, int& exitCode) {
  auto options = std::make_shared<PrintOptions>();
  PrintOptions& o = *options;
  CLI::App* cmd = app.add_subcommand(
      "print", "Print the window as File > Print does, on one A4 page to PDF: pane A the electrograms, pane B the time map");
  cmd->add_option("recording", o.recording, "recording: E00, EDF, BDF or GDF")->type_name("REC")->required();
  cmd->add_option("--matrix", o.matrix, "new-format matrix file")->type_name("M")->required();
  cmd->add_option("--marks", o.marks, "mark file to print instead of the one beside the recording")->type_name("F.M00");
  cmd->add_option("--panel", o.panel, "the pane printed: top (A), bottom (B) or both")
      ->type_name("top|bottom|both")
      ->capture_default_str();
  cmd->add_option("--orientation", o.orientation, "paper orientation")
      ->type_name("landscape|portrait")
      ->capture_default_str();
  cmd->add_option("--caption", o.caption, "the line at the top of the page (default the recording's file info)")
      ->type_name("TEXT");
  cmd->add_flag("--only-marks", o.onlyMarks, "leave out the traces, print their grid, labels, marks and connections");
  cmd->add_option("--out", o.out, "PAGE.pdf")->type_name("PAGE.pdf")->required();
  AddMapSettingOptions(cmd, o.map, false);
  cmd->get_option("--kind")->description("pane B: map kind");
  cmd->get_option("--begin")->description("pane B: start of the map window in ms (default 0)");
  cmd->get_option("--window")->description("pane B: length of the map window in ms (default the whole signal)");
  PreferenceSettings::AddOption(cmd, o.settings);
  cmd->callback([options, &exitCode] { exitCode = RunReportingErrors([&] { PrintPdf(*options); }); });
}

}  // namespace velmora::cli
