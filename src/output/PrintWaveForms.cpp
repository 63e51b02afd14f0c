#include "output/PrintWaveForms.h"

#include <algorithm>
#include <optional>
#include <string>

#include "core/AnalysisState.h"
#include "core/Arithmetic.h"
#include "maps/MapComputation.h"
#include "maps/WaveFormDrawing.h"
#include "output/PrintGrid.h"

namespace velmora {

namespace {

constexpr double kUnitsPerPixel = 5;

int Round(double x) { return int(RoundHalfEven(x)); }

}  // namespace

void PrintWaveForms::Print(const PrintPane& pane) {
  AnalysisState& s = state_;
  const int cols = MapComputation::UsedCols(s), rows = MapComputation::UsedRows(s);
  if (cols < 1 || rows < 1 || s.WindowA < 1) return;
  cellWidth_ = Round(double(layout_.PrintWidth) / cols);
  cellHeight_ = Round(double(pane.height) / rows);
  s.WaveSignalLength = s.WindowA;
  xs_ = double(cellWidth_) / s.WindowA;
  canvas_.SetPen(colours::kBlack, 1);
  PrintEleMapGrid2(pane);
  if (s.WaveMarkAlign) FillMarkTimes();
  canvas_.SetFont(colours::kBlack, FontStyle{});
  canvas_.SetBrush(colours::kWhite, BrushStyle::Clear);
  for (int a = 1; a <= cols; ++a) {
    for (int r = 1; r <= rows; ++r) {
      const int32_t c = MapComputation::ChannelAt(s, a, r).value_or(kNoValue);
      if (c < kFirstElectrode || c > kChannels) continue;
      const int x0 = Round((a - 1) * cellWidth_ + PrintLayout::kMargin);
      const int y = Round(pane.top + cellHeight_ / 2.0 + cellHeight_ * (r - 1));
      PrintOneWaveSignal(a, r, c, x0, y);
    }
  }
}

void PrintWaveForms::PrintEleMapGrid2(const PrintPane& pane) {
  const PrintGrid::Geometry grid{PrintLayout::kMargin, pane.top, MapComputation::UsedCols(state_),
                                 MapComputation::UsedRows(state_), cellWidth_, cellHeight_};
  PrintGrid::PrintRectangle(canvas_, grid.left, grid.top, grid.Right(), grid.Bottom());
  if (state_.ShowGrid) {
    PrintGrid::PrintLines(canvas_, grid);
  } else {
    PrintGrid::PrintTicks(canvas_, grid, Round(cellWidth_ / 5.0));
  }
  PrintGrid::PrintAxisNumbers(canvas_, grid);
}

// The time map of the electrogram window, which the cells centre their traces on.
void PrintWaveForms::FillMarkTimes() {
  AnalysisState& s = state_;
  s.CurMapKind = 0;
  s.MapBegin = s.CurBegin;
  s.MapWindow = s.CurWindow;
  FillMapGrid(s);
}

void PrintWaveForms::PrintOneWaveSignal(int column, int row, int32_t channel, int x0, int y) {
  const AnalysisState& s = state_;
  int32_t begin = s.BeginA;
  if (s.WaveMarkAlign) {
    const int32_t t = s.Cell(column, row).Value;
    if (t == kNoValue || t == kAltNoValue) return;
    const std::optional<int32_t> aligned = WaveFormDrawing::AlignedStart(s, t + s.ReferenceTime);
    if (!aligned) return;
    begin = *aligned;
  }
  if (s.WavePlotElgNr) canvas_.TextOut(x0 + 1, y + 1, std::to_string(channel));
  if (s.PrintOnlyMarks) return;
  const int32_t end = std::min({int64_t(begin) + s.WindowA, int64_t(s.SigLength), int64_t(s.SignalRows())});
  if (end <= begin || begin < 0) return;
  int64_t sum = 0;
  for (int32_t j = begin; j < end; ++j) sum += s.Signal(j, channel - 1);
  // Raw samples sit far from zero; the cell shows them around its centre line as the pane does.
  const double baseline = s.AverageOffset ? double(sum) / (end - begin) : 0.0;
  points_.resize(size_t(end - begin));
  for (int32_t j = begin; j < end; ++j) {
    const double lift = (s.Signal(j, channel - 1) - baseline) * s.Amplification * kUnitsPerPixel;
    points_[size_t(j - begin)] = {x0 + Round((j - begin + 2) * xs_), y - Round(lift)};
  }
  canvas_.SetPen(colours::kBlack, 1);
  canvas_.Polyline(points_);
}

}  // namespace velmora
