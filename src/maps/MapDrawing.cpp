#include "maps/MapDrawing.h"

#include <algorithm>
#include <limits>

#include "core/AnalysisState.h"
#include "maps/FrequencyMap.h"
#include "core/Arithmetic.h"
#include "core/Limits.h"
#include "maps/CellDigits.h"
#include "maps/Isochrones.h"
#include "maps/MapColours.h"
#include "maps/MapLegend.h"
#include "maps/VelocityArrows.h"
#include "marks/TraceOutline.h"

namespace velmora {

namespace {


double RealValue(const MapCell& cell, uint8_t mapKind) { return RealCellValue(cell, mapKind); }

// Rounds a real cell value for colouring; values beyond 32 bits are clamped.
int32_t RoundedValue(double value) {
  constexpr double kMin = std::numeric_limits<int32_t>::min();
  constexpr double kMax = std::numeric_limits<int32_t>::max();
  if (!(value >= kMin)) return std::numeric_limits<int32_t>::min();
  if (value > kMax) return std::numeric_limits<int32_t>::max();
  return int32_t(RoundHalfEven(value));
}

}  // namespace

bool MapDrawing::OnGrid(const AnalysisState& s, int channel) {
  if (channel < 1 || channel > kChannels) return false;
  return s.ElectrodeX[size_t(channel - 1)] >= 1 && s.ElectrodeY[size_t(channel - 1)] >= 1;
}

void MapDrawing::CalcCellSize(AnalysisState& s, int paneWidth, int paneHeight) {
  s.MapPaneRect.Width = paneWidth;
  s.MapPaneRect.Height = paneHeight;
  if (s.NrCols < 1 || s.NrRows < 1) {
    // No grid: no cells, so nothing divides by a zero column or row count.
    s.CellWidth = s.CellHeight = 0;
  } else {
    s.CellWidth = std::max(0, (paneWidth - s.MapLeft) / s.NrCols);
    s.CellHeight = std::max(0, (paneHeight - s.MapTop) / s.NrRows);
    s.CellWidth = s.CellHeight = std::min(s.CellWidth, s.CellHeight);
  }
  s.MapRight = s.NrCols * s.CellWidth + s.MapLeft;
  s.MapBottom = s.NrRows * s.CellHeight + s.MapTop;
}

void MapDrawing::ClearMapPane(const AnalysisState& s, Canvas& canvas) {
  canvas.SetBrush(colours::kWhite, BrushStyle::Solid);
  canvas.Rectangle(0, 0, s.MapPaneRect.Width, s.MapPaneRect.Height);
}

MapDrawing::Edges MapDrawing::CellRect(const AnalysisState& s, int channel) {
  Edges e;
  e.Left = (s.ElectrodeX[size_t(channel - 1)] - 1) * s.CellWidth + s.MapLeft;
  e.Top = (s.ElectrodeY[size_t(channel - 1)] - 1) * s.CellHeight + s.MapTop;
  e.Right = e.Left + s.CellWidth + 1;
  e.Bottom = e.Top + s.CellHeight + 1;
  return e;
}

Point MapDrawing::CellCentre(const AnalysisState& s, int column, int row) {
  // The right edge is taken one pixel in, the bottom edge not: the centres the isochrones and
  // arrows have always been placed on.
  const int left = (column - 1) * s.CellWidth + s.MapLeft;
  const int right = left + s.CellWidth - 1;
  const int top = (row - 1) * s.CellHeight + s.MapTop;
  const int bottom = top + s.CellHeight;
  return Point{(left + right) / 2, (top + bottom) / 2};
}

void MapDrawing::DrawCellValue(const AnalysisState& s, Canvas& canvas, int left, int top,
                               int32_t value, double realValue, bool isReal, FontStyle style) {
  const std::string text = isReal ? CellDigits::RealText(realValue, s.ExportDigitType)
                                  : CellDigits::IntegerText(value, s.DigitType);
  canvas.SetFont(colours::kBlack, style);
  const int width = canvas.TextWidth(text);
  const int height = canvas.TextHeight(text);
  canvas.SetBrush(colours::kWhite, BrushStyle::Clear);
  canvas.TextOut(left + s.CellWidth / 2 - width / 2, top + s.CellHeight / 2 - height / 2, text);
}

void MapDrawing::DrawMapGrid(const AnalysisState& s, Canvas& canvas) {
  canvas.SetPen(colours::kBlack, 1);
  canvas.SetBrush(colours::kWhite, BrushStyle::Clear);
  for (int channel = 1; channel <= kChannels; ++channel) {
    if (!OnGrid(s, channel)) continue;
    const Edges e = CellRect(s, channel);
    canvas.Rectangle(e.Left, e.Top, e.Right, e.Bottom);
  }
}

void MapDrawing::DrawExcludedCell(const AnalysisState& s, Canvas& canvas, int channel) {
  if (!OnGrid(s, channel)) return;
  const Edges e = CellRect(s, channel);
  canvas.SetPen(colours::kBlack, 1);
  canvas.Line(e.Left, e.Top, e.Right, e.Bottom);
  canvas.Line(e.Right, e.Top, e.Left, e.Bottom);
}

void MapDrawing::DrawCell(const AnalysisState& s, Canvas& canvas, int channel) {
  const int x = s.ElectrodeX[size_t(channel - 1)], y = s.ElectrodeY[size_t(channel - 1)];
  if (x > kMaxGridCols || y > kMaxGridRows) return;
  const MapCell& cell = s.Cell(x, y);
  const bool isReal = s.CurMapKind >= kFirstRealMapKind;
  const double real = isReal ? RealValue(cell, s.CurMapKind) : 0.0;
  const int32_t value = ColourValue(s, cell);
  if (value == s.AltNoValue) {
    DrawExcludedCell(s, canvas, s.GridCell(x, y));
    return;
  }
  if (value == s.NoValue) return;  // no value: the cell stays white
  const Colour colour = MapColours::MapColour(MapColours::ColourIndex(s, value));
  canvas.SetBrush(colour, BrushStyle::Solid);
  canvas.SetPen(colour, 1);
  const int left = (x - 1) * s.CellWidth + s.MapLeft;
  const int top = (y - 1) * s.CellHeight + s.MapTop;
  if (s.ShowMapColor) canvas.Rectangle(left, top, left + s.CellWidth, top + s.CellHeight);
  FontStyle style;
  style.italic = cell.Expanded == 1;
  if (s.ShowMapDigit) DrawCellValue(s, canvas, left, top, value, real, isReal, style);
}

int32_t MapDrawing::ColourValue(const AnalysisState& s, const MapCell& cell) {
  if (s.CurMapKind < kFirstRealMapKind) return cell.Value;
  // A quality map is coloured by verdict (its Value): dead red, weak yellow, good green.
  if (s.CurMapKind == kQualityMap)
    return cell.Value == kNoValue ? kNoValue : int32_t(MapColours::QualityBand(cell.Value) - 1) * MapColours::BandStep(s);
  return RoundedValue(RealValue(cell, s.CurMapKind));
}

void MapDrawing::DrawCells(const AnalysisState& s, Canvas& canvas) {
  for (int channel = 1; channel <= kChannels; ++channel) {
    if (OnGrid(s, channel)) DrawCell(s, canvas, channel);
  }
}

void MapDrawing::DrawMap(AnalysisState& s, Canvas& canvas, int paneWidth, int paneHeight,
                         const MapDrawingHooks& hooks) {
  CalcCellSize(s, paneWidth, paneHeight);
  if (hooks.FillMapGrid) hooks.FillMapGrid(s);
  if (s.ExpandMap && hooks.ExpandMapGrid) hooks.ExpandMapGrid(s);
  ClearMapPane(s, canvas);
  DrawCells(s, canvas);
  if (s.ShowGrid) DrawMapGrid(s, canvas);
  // The outline marks the electrodes the other pane shows as traces; it needs a map pane.
  if (s.TwoPanes && (s.PaneKindA == 0 || s.PaneKindB == 0)) TraceOutline::OutlineTracesOnMap(s, canvas);
  if (s.PlotIsochrones) Isochrones::DrawIsochrones(s, canvas);
  if (VelocityArrows::Shown(s)) {
    if (hooks.CalcVelocities) hooks.CalcVelocities(s);
    VelocityArrows::DrawArrows(s, canvas);
  }
  MapLegend::DrawLegend(s, canvas);
  if (s.ShowMapStatistics && hooks.CalcMapStats) hooks.CalcMapStats(s);
}

}  // namespace velmora
