#include "output/PrintMapPane.h"

#include <algorithm>

#include "commands/PaneCaptions.h"
#include "core/AnalysisState.h"
#include "maps/FrequencyMap.h"
#include "core/Arithmetic.h"
#include "core/TraceChannel.h"
#include "maps/CellDigits.h"
#include "maps/Isochrones.h"
#include "maps/MapComputation.h"
#include "maps/VelocityCalculation.h"
#include "output/PrintGrid.h"
#include "waves/WaveMap.h"

namespace velmora {

namespace {

constexpr int kIsochronePen = 3;
constexpr int kSmallestDigitSize = 3;  // points

int Round(double x) { return int(RoundHalfEven(x)); }

double RealValue(const MapCell& cell, uint8_t mapKind) { return RealCellValue(cell, mapKind); }

}  // namespace

MapDrawingHooks PrintMapPane::StandardHooks() {
  MapDrawingHooks hooks;
  hooks.FillMapGrid = [](AnalysisState& state) { FillMapGrid(state); };
  hooks.ExpandMapGrid = [](AnalysisState& state) { ExpandMapGrid(state); };
  hooks.CalcVelocities = [](AnalysisState& state) { VelocityCalculation::CalcVelocities(state); };
  return hooks;
}

int PrintMapPane::CalcPrintMapSize(const AnalysisState& s, int printWidth, int paneHeight) {
  const int cols = MapComputation::UsedCols(s), rows = MapComputation::UsedRows(s);
  if (cols < 1 || rows < 1) return 0;
  const int across = Round(double(printWidth) / cols);
  const int down = Round(double(paneHeight - PrintLayout::kReserve) / rows);
  return std::max(0, std::min(across, down));
}

void PrintMapPane::Print(const PrintPane& pane, bool bothPanes) {
  cell_ = CalcPrintMapSize(state_, layout_.PrintWidth, pane.height);
  if (cell_ <= 0) return;
  canvas_.SetPen(colours::kBlack, 1);
  PrintMapOutLine(pane);
  if (bothPanes) PrintChannelsOnMap(pane);
  PrintMap(pane);
  if (state_.PlotIsochrones) PrintIsoLines(pane);
  if (state_.ShowStatistics) PrintStatisticsBar();
}

void PrintMapPane::PrintMapOutLine(const PrintPane& pane) {
  const PrintGrid::Geometry grid{PrintLayout::kMargin, pane.top, MapComputation::UsedCols(state_),
                                 MapComputation::UsedRows(state_), cell_, cell_};
  PrintGrid::PrintRectangle(canvas_, grid.left, grid.top, grid.Right(), grid.Bottom());
  PrintGrid::PrintTicks(canvas_, grid, Round(cell_ / 5.0));
  PrintGrid::PrintAxisNumbers(canvas_, grid);
}

// The electrodes the electrogram pane shows, circled.
void PrintMapPane::PrintChannelsOnMap(const PrintPane& pane) {
  const AnalysisState& s = state_;
  const int radius = Round(cell_ / 2.0);
  canvas_.SetBrush(colours::kWhite, BrushStyle::Clear);
  for (int i = 1; i <= s.NrTraces; ++i) {
    const int32_t c = TraceChannel(s, i);
    if (c < kFirstElectrode || c > kChannels) continue;
    const int x = s.ElectrodeX[size_t(c - 1)], y = s.ElectrodeY[size_t(c - 1)];
    if (x < 1 || y < 1) continue;
    const int cx = Round((x - 1) * cell_ + cell_ / 2.0 + PrintLayout::kMargin);
    const int cy = Round((y - 1) * cell_ + cell_ / 2.0 + pane.top);
    canvas_.Ellipse(cx - radius, cy - radius, cx + radius, cy + radius);
  }
}

// The grid refilled for the pane's map, or loaded with the pane's wave.
void PrintMapPane::FillPrintedGrid(int pane) {
  AnalysisState& s = state_;
  const MapDrawingHooks& hooks = sources_.MapHooks;
  if (hooks.FillMapGrid) hooks.FillMapGrid(s);
  const uint8_t kind = pane == 2 ? s.PaneKindB : s.PaneKindA;
  if (kind == 2) {
    if (sources_.Waves != nullptr) sources_.Waves->LoadMapBuf(s, pane == 2 ? s.WaveNrB : s.WaveNrA);
  } else if (s.ExpandMap && hooks.ExpandMapGrid) {
    hooks.ExpandMapGrid(s);
  }
  if (s.PlotVelocities && hooks.CalcVelocities) hooks.CalcVelocities(s);
}

std::string PrintMapPane::CellText(const AnalysisState& s, int column, int row) {
  if (s.PlotVelocities) {
    const double speed = s.Square(column, row).Speed;
    return speed == kNoValue ? std::string() : CellDigits::FixedText(speed, 2);
  }
  const MapCell& cell = s.Cell(column, row);
  if (s.CurMapKind >= kFirstRealMapKind) {
    const double value = RealValue(cell, s.CurMapKind);
    if (value == kNoValue || value == kAltNoValue) return {};
    return CellDigits::RealText(value, s.ExportDigitType);
  }
  const int32_t v = cell.Value;
  if (v == kNoValue || v == kAltNoValue || (s.MapSkipZeros && v == 0)) return {};
  return CellDigits::IntegerText(v, s.DigitType);
}

// The largest type up to the page's own in which every cell's text fits its cell.
FontStyle PrintMapPane::DigitStyle() {
  const AnalysisState& s = state_;
  FontStyle style;
  canvas_.SetFont(colours::kBlack, style);
  int widest = 0;
  for (int column = 1; column <= MapComputation::UsedCols(s); ++column)
    for (int row = 1; row <= MapComputation::UsedRows(s); ++row) widest = std::max(widest, canvas_.TextWidth(CellText(s, column, row)));
  const int room = cell_ * 9 / 10;
  if (widest > room) style.size = std::max(kSmallestDigitSize, style.size * room / widest);
  return style;
}

void PrintMapPane::PrintMap(const PrintPane& pane) {
  FillPrintedGrid(pane.pane);
  const AnalysisState& s = state_;
  canvas_.SetFont(colours::kBlack, DigitStyle());
  canvas_.SetBrush(colours::kWhite, BrushStyle::Clear);
  for (int column = 1; column <= MapComputation::UsedCols(s); ++column) {
    for (int row = 1; row <= MapComputation::UsedRows(s); ++row) {
      const int left = PrintLayout::kMargin + (column - 1) * cell_, top = pane.top + (row - 1) * cell_;
      const int x = Round(left + cell_ / 2.0), y = Round(top + cell_ / 2.0);
      if (MapComputation::ChannelAt(s, column, row).value_or(kNoValue) == kNoValue) {
        PrintCross(x, y);
        continue;
      }
      const std::string text = CellText(s, column, row);
      if (!s.ShowMapDigit || text.empty()) continue;
      canvas_.TextOut(x - canvas_.TextWidth(text) / 2, y - canvas_.TextHeight(text) / 2, text);
    }
  }
  canvas_.SetFont(colours::kBlack, FontStyle{});
}

void PrintMapPane::PrintCross(int x, int y) {
  const int arm = Round(cell_ / 5.0) / 4;
  canvas_.SetPen(colours::kBlack, 1);
  canvas_.Line(x - arm, y, x + arm, y);
  canvas_.Line(x, y - arm, x, y + arm);
}

// The isochrones the pane shows, laid over the printed cells.
void PrintMapPane::PrintIsoLines(const PrintPane& pane) {
  AnalysisState& s = state_;
  s.MapLeft = PrintLayout::kMargin;
  s.MapTop = pane.top;
  s.CellWidth = s.CellHeight = cell_;
  Isochrones::DrawIsochrones(s, canvas_, kIsochronePen);
  canvas_.SetPen(colours::kBlack, 1);
}

void PrintMapPane::PrintStatisticsBar() {
  const AnalysisState& s = state_;
  WaveMap sizes;
  sizes.CalcWaveStats(s);
  const WaveStats& w = sizes.Stats();
  const double d = s.ElectrodeDistance;
  const int m = PrintLayout::kMargin, top = layout_.StatisticsTop, y = top + 30;
  canvas_.SetPen(colours::kBlack, 1);
  PrintGrid::PrintRectangle(canvas_, m, top, m + layout_.PrintWidth, top + PrintLayout::kStatisticsHeight);
  canvas_.SetFont(colours::kBlack, FontStyle{});
  canvas_.SetBrush(colours::kWhite, BrushStyle::Clear);
  auto grouped = [](double value) { return PaneCaptions::GroupedDecimals(value, 1); };
  canvas_.TextOut(m + 100, y, "Spike nr: " + std::to_string(s.PrintSeriesNr));
  canvas_.TextOut(m + 800, y,
                  "Area    : " + std::to_string(w.SiteCount) + "  (" + grouped(w.SiteCount * d * d) + " mm2)");
  canvas_.TextOut(m + 1500, y, "X-length  : " + std::to_string(w.XSize) + "  (" + grouped(w.XSize * d) + " mm)");
  canvas_.TextOut(m + 2200, y, "Y-length   : " + std::to_string(w.YSize) + "  (" + grouped(w.YSize * d) + " mm)");
}

}  // namespace velmora
