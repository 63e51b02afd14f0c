#include "waves/WaveMap.h"

#include <algorithm>
#include <memory>
#include <vector>

#include <fmt/format.h>

#include "core/AnalysisState.h"
#include "core/Errors.h"
#include "core/Canvas.h"
#include "core/Ui.h"
#include "maps/Isochrones.h"
#include "maps/MapColours.h"
#include "maps/MapDrawing.h"
#include "maps/StatisticsText.h"
#include "maps/VelocityArrows.h"
#include "marks/TraceOutline.h"

namespace velmora {

namespace {

constexpr int kStatisticsTop = 20;  // room above the grid for the area and extent texts

int UsedCols(const AnalysisState& s) { return std::clamp(s.NrCols, 0, kMaxGridCols); }
int UsedRows(const AnalysisState& s) { return std::clamp(s.NrRows, 0, kMaxGridRows); }

// The lowest channel of every cell of the used grid, column outer; NoValue where none.
std::vector<int32_t> LowestChannels(const AnalysisState& s) {
  const int cols = UsedCols(s), rows = UsedRows(s);
  std::vector<int32_t> grid(size_t(cols) * size_t(rows), kNoValue);
  for (int channel = kChannels; channel >= 1; --channel) {
    const int col = s.ElectrodeX[size_t(channel - 1)], row = s.ElectrodeY[size_t(channel - 1)];
    if (col >= 1 && col <= cols && row >= 1 && row <= rows) grid[size_t((col - 1) * rows + row - 1)] = channel;
  }
  return grid;
}

// The earliest value in the used grid, or NoValue when the grid is empty.
int32_t EarliestValue(const AnalysisState& s) {
  int32_t earliest = kNoValue;
  for (int col = 1; col <= UsedCols(s); ++col)
    for (int row = 1; row <= UsedRows(s); ++row) {
      const int32_t value = s.Cell(col, row).Value;
      if (value != kNoValue && (earliest == kNoValue || value < earliest)) earliest = value;
    }
  return earliest;
}

}  // namespace

int32_t WaveMap::ClampWaveNr(int32_t wave) { return std::clamp<int32_t>(wave, 1, WaveSearch::kMaxWaves); }

int32_t WaveMap::FocusedWaveNr(const AnalysisState& s) { return s.FocusB ? s.WaveNrB : s.WaveNrA; }

void WaveMap::MapWave(AnalysisState& s, Canvas& canvas, int paneWidth, int paneHeight, Ui& ui,
                      const WaveProgress& progress, const MapDrawingHooks& hooks) {
  curWaveNr_ = FocusedWaveNr(s);
  waveChanged_ = lastWaveNr_ != curWaveNr_;
  CalculateWavesIfStale(s, ui, progress);
  LoadMapBuf(s, curWaveNr_);
  if (s.AutoPositioning && waveChanged_) AutomaticPositionElectrograms(s);
  DisplayWave(s, canvas, paneWidth, paneHeight);
  waveChanged_ = false;
  if (s.PlotVelocities && hooks.CalcVelocities) {
    hooks.CalcVelocities(s);
    VelocityArrows::DrawArrows(s, canvas);
  }
  if (s.ShowMapStatistics && hooks.CalcMapStats) hooks.CalcMapStats(s);
  lastWaveNr_ = curWaveNr_;
}

// The flag is cleared before the search, not after: a mark added while the progress panel
// lets commands run is then not lost, and the next wave map calculates again.
bool WaveMap::CalculateWavesIfStale(AnalysisState& s, Ui& ui, const WaveProgress& progress) {
  // A new smallest wave size lists other waves, as new marks do.
  if (!s.WavesStale && s.MinSitesPerWave == minSitesUsed_) return false;
  s.WavesStale = false;
  minSitesUsed_ = s.MinSitesPerWave;
  if (progress.Begin) progress.Begin();
  WaveSearch before = search_;
  const int32_t wavesBefore = s.NrWaves;
  try {
    search_.CalculateWaves(s, [&](int wave) {
      s.NrWaves = wave;
      if (progress.Wave) progress.Wave(wave);
      if (progress.CancelAsked && progress.CancelAsked()) throw Cancelled("calculating waves");
    });
  } catch (const Cancelled&) {
    // The waves before stay and are shown, without asking again at every redraw, until the
    // marks change or "Calculate Waves" asks for them.
    search_ = std::move(before);
    s.NrWaves = wavesBefore;
    if (progress.End) progress.End();
    return false;
  }
  ui.Beep();
  if (progress.End) progress.End();
  return true;
}

void WaveMap::LoadMapBuf(AnalysisState& s, int wave) const {
  const std::vector<int32_t> channels = LowestChannels(s);
  const int rows = UsedRows(s);
  for (int col = 1; col <= UsedCols(s); ++col)
    for (int row = 1; row <= rows; ++row) {
      MapCell& cell = s.Cell(col, row);
      cell.Value = search_.WaveTime(channels[size_t((col - 1) * rows + row - 1)], wave);
      cell.Expanded = 0;
    }
  if (!s.PlotLocalTimes) return;
  const int32_t earliest = EarliestValue(s);
  if (earliest == kNoValue) return;
  for (int col = 1; col <= UsedCols(s); ++col)
    for (int row = 1; row <= rows; ++row) {
      int32_t& value = s.Cell(col, row).Value;
      if (value != kNoValue) value -= earliest;
    }
}

// A time-map pane colours a wave from the wave's own earliest band, not from whatever time
// map was drawn before it.
void WaveMap::DisplayWave(AnalysisState& s, Canvas& canvas, int paneWidth, int paneHeight) {
  s.MapTop = s.ShowStatistics ? kStatisticsTop : 0;
  MapDrawing::CalcCellSize(s, paneWidth, paneHeight);
  MapDrawing::ClearMapPane(s, canvas);
  const int32_t earliest = EarliestValue(s);
  if (s.CurMapKind == 0 && earliest != kNoValue) s.MapMinTime = earliest;
  DrawWaveCells(s, canvas);
  if (s.ShowGrid) MapDrawing::DrawMapGrid(s, canvas);
  if (s.PlotIsochrones) Isochrones::DrawIsochrones(s, canvas);
  if (s.TwoPanes) TraceOutline::OutlineTracesOnMap(s, canvas);
  if (s.ShowStatistics) {
    CalcWaveStats(s);
    DisplayWaveStats(s, canvas);
  }
}

void WaveMap::DrawWaveCells(const AnalysisState& s, Canvas& canvas) const {
  for (int col = 1; col <= UsedCols(s); ++col)
    for (int row = 1; row <= UsedRows(s); ++row) {
      const int32_t value = s.Cell(col, row).Value;
      if (value == kNoValue) continue;
      const Colour colour = MapColours::MapColour(MapColours::ColourIndex(s, value));
      canvas.SetBrush(colour, BrushStyle::Solid);
      canvas.SetPen(colour, 1);
      const int left = s.MapLeft + (col - 1) * s.CellWidth, top = s.MapTop + (row - 1) * s.CellHeight;
      if (s.ShowMapColor) canvas.Rectangle(left, top, left + s.CellWidth, top + s.CellHeight);
      if (s.ShowMapDigit) MapDrawing::DrawCellValue(s, canvas, left, top, value, 0.0, false);
    }
}

void WaveMap::CalcWaveStats(const AnalysisState& s) {
  WaveStats& w = stats_;
  w.SiteCount = 0;
  w.MaxCol = w.MaxRow = 0;
  w.MinCol = s.NrCols;
  w.MinRow = s.NrRows;
  for (int col = 1; col <= UsedCols(s); ++col)
    for (int row = 1; row <= UsedRows(s); ++row) {
      if (s.Cell(col, row).Value == kNoValue) continue;
      ++w.SiteCount;
      w.MinCol = std::min(w.MinCol, col), w.MaxCol = std::max(w.MaxCol, col);
      w.MinRow = std::min(w.MinRow, row), w.MaxRow = std::max(w.MaxRow, row);
    }
  if (w.SiteCount == 0) {
    w.XSize = w.YSize = 0;
    return;
  }
  w.XSize = w.MaxCol - w.MinCol + 1;
  w.YSize = w.MaxRow - w.MinRow + 1;
  w.CentreX = (w.MinCol + w.MaxCol) / 2;
  w.CentreY = (w.MinRow + w.MaxRow) / 2;
}

void WaveMap::DisplayWaveStats(const AnalysisState& s, Canvas& canvas) const {
  if (stats_.SiteCount <= 0) return;
  const double d = s.ElectrodeDistance;
  canvas.SetBrush(colours::kWhite, BrushStyle::Solid);
  canvas.SetFont(colours::kBlack, FontStyle{});
  const std::string texts[] = {
      fmt::format("Area = {} ({} mm2)", stats_.SiteCount, GroupedFixed(stats_.SiteCount * d * d, 1, 7)),
      fmt::format("X-size = {} ({} mm)", stats_.XSize, GroupedFixed(stats_.XSize * d, 1, 7)),
      fmt::format("Y-size = {} ({} mm)", stats_.YSize, GroupedFixed(stats_.YSize * d, 1, 7))};
  const int columns[] = {4, 140, 280};
  // Large areas outgrow the 136-pixel columns; a text that would come closer than a blank to
  // the one before it starts a blank after it instead.
  const int blank = canvas.TextWidth(" ");
  int previousEnd = columns[0] - blank;
  for (int i = 0; i < 3; ++i) {
    const int x = std::max(columns[i], previousEnd + blank);
    canvas.TextOut(x, 4, texts[i]);
    previousEnd = x + canvas.TextWidth(texts[i]);
  }
}

void WaveMap::AutomaticPositionElectrograms(AnalysisState& s) {
  CalcWaveStats(s);
  if (!s.TwoPanes) return;
  int cx = stats_.CentreX, cy = stats_.CentreY;
  if (s.TraceOrder == 1) cx -= s.NrTraces / 2;
  if (s.TraceOrder == 2) cy -= s.NrTraces / 2;
  const int32_t channel = WaveSearch::Elenr(s, std::max(cx, 1), std::max(cy, 1));
  if (channel != kNoValue) s.FirstChannel = channel;
}

void WaveMap::CompositeWaveMap(AnalysisState& s, Canvas& canvas, int paneWidth, int paneHeight, Ui& ui) {
  const int32_t nrWaves = s.NrWaves;
  const auto composite = std::make_unique<WaveSearch>();
  composite->IniWaveMap(s);
  composite->LoadTim(s);
  s.NrWaves = nrWaves;  // the pane's own waves stay as they are
  const int count = ClampWaveNr(FocusedWaveNr(s));
  composite->BuildWaves(count);
  ui.Beep();
  LoadCompositeWaves(s, *composite, count, ui);
  DisplayWave(s, canvas, paneWidth, paneHeight);
}

// Cells of no wave shown are emptied first, so the composite never mixes wave numbers with
// times of the map drawn before it.
void WaveMap::LoadCompositeWaves(AnalysisState& s, const WaveSearch& composite, int count, Ui& ui) const {
  const std::vector<int32_t> channels = LowestChannels(s);
  const int rows = UsedRows(s);
  for (int col = 1; col <= UsedCols(s); ++col)
    for (int row = 1; row <= rows; ++row) s.Cell(col, row).Value = kNoValue;
  for (int wave = 1; wave <= count; ++wave) {
    if (CalcNumberSites(s, composite, wave) < s.MinWaveSites) continue;
    ui.Beep();
    for (int col = 1; col <= UsedCols(s); ++col)
      for (int row = 1; row <= rows; ++row)
        if (composite.WaveTime(channels[size_t((col - 1) * rows + row - 1)], wave) != kNoValue) s.Cell(col, row).Value = wave;
  }
}

int WaveMap::CalcNumberSites(const AnalysisState& s, const WaveSearch& search, int wave) const {
  const std::vector<int32_t> channels = LowestChannels(s);
  return int(std::count_if(channels.begin(), channels.end(),
                           [&](int32_t channel) { return search.WaveTime(channel, wave) != kNoValue; }));
}

}  // namespace velmora
