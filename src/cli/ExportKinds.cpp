#include "cli/ExportKinds.h"

#include <fmt/format.h>

#include "cli/OptionParsing.h"
#include "core/AnalysisState.h"
#include "output/DataPadExports.h"
#include "output/ElectrodeIntervals.h"
#include "output/MacExport.h"
#include "output/RealBasicExport.h"

namespace velmora::cli {

namespace {

std::string ElectrogramsText(ExportContext& c) {
  c.ShowElectrogramPane();
  return DataPadExports::ElectrogramText(c.State());
}

std::string MarksText(ExportContext& c) { return DataPadExports::MarksText(c.State()); }

std::string AnimationText(ExportContext& c) {
  c.ShowElectrogramPane();
  return DataPadExports::AnimationText(c.State());
}

std::string SingleText(ExportContext& c) {
  c.ShowElectrogramPane();
  return DataPadExports::SingleElectrogramText(c.State());
}

std::string MatrixText(ExportContext& c) {
  c.ComputeMap();
  return DataPadExports::MatrixText(c.State());
}

std::string AllMarksText(ExportContext& c) {
  const int electrode = c.Electrode("allmarks");
  c.State().WhichEle = electrode;
  return ElectrodeIntervals::Text(c.State(), electrode);
}

std::string TolvarText(ExportContext& c) { return DataPadExports::TolvarText(c.State()); }

std::string MacMapText(ExportContext& c) {
  c.ComputeMap();
  return MacExport::MapText(c.State());
}

std::string MacElectrogramsText(ExportContext& c) {
  c.ShowElectrogramPane();
  return MacExport::SignalsText(c.State());
}

std::string MacEleMapText(ExportContext& c) {
  c.ShowElectrogramPane();
  return MacExport::EleMapText(c.State(), c.Pane().map.width, c.Pane().map.height, c.UiOut());
}

std::string RealBasicText(ExportContext& c) { return RealBasicExport::MarksText(c.State()); }

}  // namespace

void ExportContext::ShowElectrogramPane() { pane_.electrograms.Show(state_); }

void ExportContext::ComputeMap() { cli::ComputeMap(state_, ui_, pane_.map); }

int ExportContext::Electrode(const char* what) const {
  if (!pane_.electrode) throw UsageError(fmt::format("{} needs --electrode", what));
  return *pane_.electrode;
}

const std::vector<ExportKind>& ExportKinds() {
  static const std::vector<ExportKind> kinds = {
      {"electrograms-txt", "samples of traces 1-12 of the window (the workbench's Ele12Col.txt)", &ElectrogramsText},
      {"marks-txt", "the mark times of every electrode", &MarksText},
      {"animation", "the marks of the window for an animation", &AnimationText},
      {"single", "the mark times of the first trace's channel", &SingleText},
      {"matrix", "the map of the map options as a matrix", &MatrixText},
      {"allmarks", "the marks of --electrode with intervals and rates", &AllMarksText},
      {"tolvar", "4000 raw samples of the 24 x 10 grid (the workbench's Tolvar1.txt)", &TolvarText},
      {"mac-map", "the map of the map options as drawing objects (to Mac: Copy Map)", &MacMapText},
      {"mac-electrograms", "the window's traces and marks as drawing objects (to Mac)", &MacElectrogramsText},
      {"mac-elemap", "each electrode's electrogram in its grid cell (to Mac: Copy EleMap)", &MacEleMapText},
      {"realbasic", "the mark table of electrodes 65-96 (to RealBasic)", &RealBasicText},
  };
  return kinds;
}

const ExportKind& FindExportKind(const std::string& what) {
  std::string known;
  for (const ExportKind& kind : ExportKinds()) {
    if (what == kind.what) return kind;
    known += known.empty() ? kind.what : std::string(", ") + kind.what;
  }
  throw UsageError(fmt::format("unknown export \"{}\" (one of {})", what, known));
}

}  // namespace velmora::cli
