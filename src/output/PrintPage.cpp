#include "output/PrintPage.h"

#include <filesystem>

#include <fmt/format.h>

#include "commands/PaneCaptions.h"
#include "core/AnalysisState.h"
#include "output/BlackInkCanvas.h"
#include "output/PrintElectrogramPane.h"
#include "output/PrintGrid.h"
#include "output/PrintMapPane.h"
#include "output/PrintWaveForms.h"

namespace velmora {

namespace {

constexpr int kBarTextX = 50, kBarTextY = 20;
constexpr int kCaptionFontSize = 12;

std::string FileNameOnly(const std::string& path) { return std::filesystem::path(path).filename().string(); }

// The pane settings a print changes on its way; the panes and the pointer read-outs go on
// with their own afterwards.
class PaneSettingsKept {
 public:
  explicit PaneSettingsKept(AnalysisState& s) : s_(s), kept_(Take(s)) {}
  ~PaneSettingsKept() { Put(s_, kept_); }

 private:
  struct Settings {
    int32_t curBegin, curWindow, mapBegin, mapWindow, activePane;
    uint8_t curMapKind;
    bool focusA, focusB;
    int32_t mapLeft, mapTop, cellWidth, cellHeight;
  };
  static Settings Take(const AnalysisState& s) {
    return {s.CurBegin, s.CurWindow, s.MapBegin, s.MapWindow, s.ActivePane, s.CurMapKind,
            s.FocusA,   s.FocusB,    s.MapLeft,  s.MapTop,    s.CellWidth,  s.CellHeight};
  }
  static void Put(AnalysisState& s, const Settings& k) {
    s.CurBegin = k.curBegin;
    s.CurWindow = k.curWindow;
    s.MapBegin = k.mapBegin;
    s.MapWindow = k.mapWindow;
    s.ActivePane = k.activePane;
    s.CurMapKind = k.curMapKind;
    s.FocusA = k.focusA;
    s.FocusB = k.focusB;
    s.MapLeft = k.mapLeft;
    s.MapTop = k.mapTop;
    s.CellWidth = k.cellWidth;
    s.CellHeight = k.cellHeight;
  }

  AnalysisState& s_;
  Settings kept_;
};

}  // namespace

void PrintPage::Print(Canvas& paper, int pageWidth, int pageHeight) {
  BlackInkCanvas canvas(paper);
  const PrintLayout layout = PrintLayout::CalcPrintPage(pageWidth, pageHeight, settings_.PrintPanel, state_.ShowStatistics);
  {
    const PaneSettingsKept kept(state_);
    canvas.SetPen(colours::kBlack, 1);
    canvas.SetBrush(colours::kWhite, BrushStyle::Clear);
    canvas.SetFont(colours::kBlack, FontStyle{});
    if (layout.PaneHeightA > 0) PrintPaneA(canvas, layout);
    if (layout.PaneHeightB > 0) PrintPaneB(canvas, layout);
  }
  PrintStatusBar(canvas, layout);
  PrintTitleBar(canvas, layout);
}

void PrintPage::TakePaneSettings(int pane) {
  AnalysisState& s = state_;
  s.FocusA = pane != 2;
  s.FocusB = pane == 2;
  s.ActivePane = pane;
  s.CurBegin = s.MapBegin = pane == 2 ? s.BeginB : s.BeginA;
  s.CurWindow = s.MapWindow = pane == 2 ? s.WindowB : s.WindowA;
  s.CurMapKind = pane == 2 ? s.MapKindB : s.MapKindA;
}

void PrintPage::PrintPaneA(Canvas& canvas, const PrintLayout& layout) {
  PrintPaneBar(canvas, layout, layout.BarTopA, sources_.TitleBarA);
  FillCaptionA(state_, settings_.PaneCaption);
  TakePaneSettings(1);
  const PrintPane pane{1, layout.ContentTopA, layout.PaneHeightA};
  if (state_.PaneKindA == 1 && state_.ElgModeA == 2) return PrintWaveForms(state_, canvas, layout).Print(pane);
  PrintMapOrElectrograms(canvas, layout, pane);
}

void PrintPage::PrintPaneB(Canvas& canvas, const PrintLayout& layout) {
  PrintPaneBar(canvas, layout, layout.BarTopB, sources_.TitleBarB);
  TakePaneSettings(2);
  PrintMapOrElectrograms(canvas, layout, PrintPane{2, layout.ContentTopB, layout.PaneHeightB});
}

void PrintPage::PrintMapOrElectrograms(Canvas& canvas, const PrintLayout& layout, const PrintPane& pane) {
  const uint8_t kind = pane.pane == 2 ? state_.PaneKindB : state_.PaneKindA;
  if (kind == 1) return PrintElectrogramPane(state_, canvas, layout).Print(pane);
  const bool bothPanes = layout.PaneHeightA > 0 && layout.PaneHeightB > 0;
  PrintMapPane(state_, canvas, layout, sources_).Print(pane, bothPanes);
}

void PrintPage::PrintPaneBar(Canvas& canvas, const PrintLayout& layout, int barTop, const std::string& title) {
  const int m = PrintLayout::kMargin;
  canvas.SetPen(colours::kBlack, 1);
  PrintGrid::PrintRectangle(canvas, m, barTop, m + layout.PrintWidth, barTop + PrintLayout::kBarHeight);
  canvas.SetFont(colours::kBlack, FontStyle{});
  canvas.SetBrush(colours::kWhite, BrushStyle::Clear);
  canvas.TextOut(m + kBarTextX, barTop + kBarTextY, title);
}

void PrintPage::FillCaptionA(const AnalysisState& s, std::string& paneCaption) {
  if (s.PaneKindA == 0) {
    static const char* const kMapNames[] = {"Time Map: ", "Count Map: ", "Electrode Map: "};
    if (s.MapKindA <= 2) paneCaption = kMapNames[s.MapKindA];
  } else if (s.PaneKindA == 2) {
    paneCaption = fmt::format("Wave Map[{}]:  T = {}", s.WaveNrA, ActiveWaveDifference(s));
  }
}

int32_t PrintPage::ActiveWaveDifference(const AnalysisState& s) {
  const int markType = s.MarkType[s.ActivePane == 2 ? 1 : 0];
  if (markType < 1 || markType > int(s.WaveDifference.size())) return 0;
  return s.WaveDifference[size_t(markType - 1)];
}

void PrintPage::PrintStatusBar(Canvas& canvas, const PrintLayout& layout) {
  const AnalysisState& s = state_;
  const int m = PrintLayout::kMargin, y = layout.StatusTop;
  canvas.SetPen(colours::kBlack, 1);
  PrintGrid::PrintRectangle(canvas, m, y + 40, m + layout.PrintWidth, y + PrintLayout::kStatusHeight);
  canvas.SetFont(colours::kBlack, FontStyle{});
  canvas.SetBrush(colours::kWhite, BrushStyle::Clear);
  const std::string recording = s.InputFileKind == 3 ? s.ImportFileName : s.ElgFileName;
  canvas.TextOut(m + 50, y + 60, settings_.PaneCaption + FileNameOnly(recording));
  canvas.TextOut(m + 50, y + 140, FileNameOnly(s.MatrixFileName));
  canvas.TextOut(m + 800, y + 140, fmt::format("Begin Time:  {} msec", s.MapBegin));
  canvas.TextOut(m + 800, y + 220, fmt::format("End   Time:  {} msec", int64_t(s.BeginA) + s.WindowA));
  canvas.TextOut(m + 2500, y + 140, fmt::format("Ref  Time:  {} msec", s.ReferenceTime));
  canvas.TextOut(m + 2500, y + 220, fmt::format("Signal: {} msec", s.SigLength));
  canvas.TextOut(m + 3800, y + 140, fmt::format("Isochrone:  {} msec", s.IsochroneStep));
  canvas.TextOut(m + 3800, y + 220, "Amplf:  " + PaneCaptions::GroupedTwoDecimals(s.Amplification));
  if (layout.PaneHeightA > 0 && s.PaneKindA == 2)
    canvas.TextOut(m + 5000, y + 140, fmt::format("Tim Diff:  {} msec", ActiveWaveDifference(s)));
}

void PrintPage::PrintTitleBar(Canvas& canvas, const PrintLayout& layout) {
  FontStyle style;
  style.size = kCaptionFontSize;
  canvas.SetFont(colours::kBlack, style);
  canvas.SetBrush(colours::kWhite, BrushStyle::Clear);
  const int m = PrintLayout::kMargin;
  canvas.TextOut(layout.PrintWidth / 2 + m - canvas.TextWidth(settings_.PrintCaption) / 2, m, settings_.PrintCaption);
  canvas.SetFont(colours::kBlack, FontStyle{});
}

}  // namespace velmora
