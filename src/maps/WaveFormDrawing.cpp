#include "maps/WaveFormDrawing.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "core/AnalysisState.h"
#include "core/SignalStore.h"
#include "core/Arithmetic.h"
#include "maps/MapComputation.h"

namespace velmora {

namespace {

constexpr int kPaneMargin = 50;   // pixels left free around the cells, across and down
constexpr int kGridTop = 20;
constexpr int kLabelGap = 15;     // labels before the first column and above the first row
constexpr int kLabelAfter = 8;    // and after the last
constexpr int kMaxCellVertices = 65535;

}  // namespace

WaveFormDrawing::Layout WaveFormDrawing::WaveFormLayout(const AnalysisState& s) {
  Layout layout;
  const int cols = MapComputation::UsedCols(s), rows = MapComputation::UsedRows(s);
  if (cols == 0 || rows == 0 || s.WaveSignalLength <= 0) return layout;
  // The cells end where the electrogram traces do, 50 pixels above the pane's bottom, so that
  // the column numbers below them stay inside the paint area under the pane's title bar.
  layout.cellHeight = std::max(0, (s.PaneHeight - kPaneMargin - kGridTop) / rows);
  layout.cellWidth = std::max(0, (s.PaneWidth - kPaneMargin) / cols);
  layout.left = (s.PaneWidth - cols * layout.cellWidth) / 2;
  layout.top = kGridTop;
  layout.sampleScale = double(layout.cellWidth) / s.WaveSignalLength;
  return layout;
}

void WaveFormDrawing::DrawWaveForms() {
  AnalysisState& s = state_;
  canvas_.SetPen(colours::kWhite);
  canvas_.SetBrush(colours::kWhite);
  canvas_.Rectangle(0, 0, s.PaneWidth, s.PaneHeight);
  s.WaveSignalLength = s.CurWindow;
  const Layout layout = WaveFormLayout(s);
  if (layout.cellWidth <= 0 || layout.cellHeight <= 0) return;
  if (s.WaveGrid) DrawWaveFormGrid(layout);
  if (s.WaveGridLabel) DrawWaveFormLabels(layout);
  if (s.WaveMarkAlign) FillMarkTimes();
  for (int column = 1; column <= MapComputation::UsedCols(s); ++column) {
    for (int row = 1; row <= MapComputation::UsedRows(s); ++row) {
      const int32_t channel = MapComputation::ChannelAt(s, column, row).value_or(kNoValue);
      s.PointerCellChannel = channel;
      if (channel != kNoValue) DrawCellWaveForm(layout, column, row, channel);
    }
  }
}

void WaveFormDrawing::DrawWaveFormGrid(const Layout& l) {
  const int cols = MapComputation::UsedCols(state_), rows = MapComputation::UsedRows(state_);
  const int right = l.left + cols * l.cellWidth, bottom = l.top + rows * l.cellHeight;
  canvas_.SetPen(colours::kBlack);
  for (int i = 0; i <= cols; ++i) canvas_.Line(l.left + i * l.cellWidth, l.top, l.left + i * l.cellWidth, bottom);
  for (int i = 0; i <= rows; ++i) canvas_.Line(l.left, l.top + i * l.cellHeight, right, l.top + i * l.cellHeight);
}

void WaveFormDrawing::DrawWaveFormLabels(const Layout& l) {
  const int cols = MapComputation::UsedCols(state_), rows = MapComputation::UsedRows(state_);
  const int right = l.left + cols * l.cellWidth, bottom = l.top + rows * l.cellHeight;
  canvas_.SetFont(colours::kBlack, FontStyle{});
  for (int n = 1; n <= cols; ++n) {
    const int x = l.left + (n - 1) * l.cellWidth + l.cellWidth / 2;
    canvas_.TextOut(x, l.top - kLabelGap, std::to_string(n));
    canvas_.TextOut(x, bottom + kLabelAfter, std::to_string(n));
  }
  for (int n = 1; n <= rows; ++n) {
    const int y = l.top + (n - 1) * l.cellHeight + l.cellHeight / 2;
    canvas_.TextOut(l.left - kLabelGap, y, std::to_string(n));
    canvas_.TextOut(right + kLabelAfter, y, std::to_string(n));
  }
}

// The time map of the electrogram window, on the map grid the map panes fill the same way.
void WaveFormDrawing::FillMarkTimes() {
  AnalysisState& s = state_;
  const uint8_t mapKind = s.CurMapKind;
  const int32_t mapBegin = s.MapBegin, mapWindow = s.MapWindow;
  s.CurMapKind = 0;
  s.MapBegin = s.CurBegin;
  s.MapWindow = s.CurWindow;
  FillMapGrid(s);
  s.CurMapKind = mapKind;
  s.MapBegin = mapBegin;
  s.MapWindow = mapWindow;
}

std::optional<int32_t> WaveFormDrawing::AlignedStart(const AnalysisState& s, int32_t markTime) {
  if (markTime <= s.CurBegin || int64_t(markTime) >= int64_t(s.CurBegin) + s.CurWindow) return std::nullopt;
  int64_t start = int64_t(markTime) - s.WaveSignalLength / 2;
  if (start < 1) start = 1;
  if (start + s.WaveSignalLength > s.SigLength) start = int64_t(s.SigLength) - s.WaveSignalLength;
  // A recording shorter than the signal length would put the start before the first sample.
  return int32_t(std::max<int64_t>(start, 0));
}

void WaveFormDrawing::DrawCellWaveForm(const Layout& l, int column, int row, int32_t channel) {
  const AnalysisState& s = state_;
  int32_t start = s.CurBegin;
  if (s.WaveMarkAlign) {
    const MapCell& cell = s.Cell(column, row);
    if (cell.Value == kNoValue || cell.Value == kAltNoValue || cell.Expanded == 1) return;
    // The map holds times after the reference; the window is on the recording's own times.
    const std::optional<int32_t> aligned = AlignedStart(s, cell.Value + s.ReferenceTime);
    if (!aligned) return;
    start = *aligned;
  }
  const int32_t count =
      std::clamp<int32_t>(std::min<int64_t>(s.WaveSignalLength, SignalStore::ZeroPaddedRows(s) - start), 0, kMaxCellVertices - 1);
  const int y0 = int(RoundHalfEven(row * l.cellHeight + l.top - l.cellHeight / 2.0));
  const int x0 = l.left + (column - 1) * l.cellWidth;
  canvas_.SetBrush(colours::kWhite);
  if (s.WavePlotElgNr) {
    canvas_.SetFont(colours::kGreen, FontStyle{});
    canvas_.TextOut(x0 + 1, int(RoundHalfEven(y0 + 1 - l.cellHeight / 2.0)), std::to_string(channel));
  }
  canvas_.SetPen(colours::kGreen);
  if (count == 0) return;
  // One pass down the channel's column; the offset needs every value before the first vertex.
  values_.resize(size_t(count));
  int64_t sum = 0;
  for (int32_t i = 0; i < count; ++i) sum += values_[size_t(i)] = SampleAt(channel, start + 1 + i);
  const double mean = s.AverageOffset ? double(sum) / count : 0.0;
  auto yOf = [&](int32_t value) { return y0 - int(RoundHalfEven((value - mean) * s.Amplification)); };
  points_.resize(size_t(count) + 1);
  points_[0] = {x0, yOf(values_[0])};
  for (int32_t i = 0; i < count; ++i)
    points_[size_t(i) + 1] = {x0 + int(RoundHalfEven((i + 2) * l.sampleScale)), yOf(values_[size_t(i)])};
  if (!s.PlotOnlyDots) return canvas_.Polyline(points_);
  for (const Point& p : points_) canvas_.Line(p.x, p.y, p.x + 1, p.y + 1);
}

// Sample numbers count from 1; row r of the store holds sample r + 1. A cell reaching past a
// short recording's end shows zeros there.
int32_t WaveFormDrawing::SampleAt(int32_t channel, int32_t sample) const {
  if (sample > state_.SignalRows()) return 0;
  return std::as_const(state_).Signal(sample - 1, channel - 1);
}

}  // namespace velmora
