#include "maps/MapComputation.h"

#include <algorithm>

#include <fmt/format.h>

#include "core/AnalysisState.h"
#include "core/Ui.h"
#include "maps/VelocityCalculation.h"

namespace velmora {

namespace {

constexpr double kAmplitudeScale = 747.0;

int PaneMarkKind(const AnalysisState& s) { return s.MarkType[s.ActivePane == 2 ? 1 : 0]; }

bool IsDeleted(const MarkRecord& m) { return m.Kind == kNoValue; }

// The closed map window, on raw mark times, never before the reference time.
bool InWindow(const AnalysisState& s, int32_t time) {
  const int64_t end = int64_t(s.MapBegin) + s.MapWindow;
  return time >= s.ReferenceTime && time >= s.MapBegin && time <= end;
}

// The count map's window is on times relative to the reference.
bool InShiftedWindow(const AnalysisState& s, int32_t time) {
  const int64_t shifted = int64_t(time) - s.ReferenceTime;
  return shifted >= s.MapBegin && shifted <= int64_t(s.MapBegin) + s.MapWindow;
}

bool IsValue(int32_t v) { return v != kNoValue && v != kAltNoValue; }

MapCell& CellOf(AnalysisState& s, int32_t channel) {
  return s.Cell(s.ElectrodeX[channel - 1], s.ElectrodeY[channel - 1]);
}

void ResetCells(AnalysisState& s) {
  for (int32_t c = 1; c <= kChannels; ++c) {
    if (!MapComputation::OnGrid(s, c)) continue;
    MapCell& cell = CellOf(s, c);
    if (cell.Value == kAltNoValue) continue;  // an excluded electrode stays excluded
    if (s.CurMapKind == 1) {
      cell.Value = 0;
    } else if (cell.Expanded != 1) {
      cell.Value = kNoValue;
      cell.Amplitude = kNoValue;
      cell.Slope = kNoValue;
    }
  }
}

bool UsedInTimeMap(const AnalysisState& s, const MarkRecord& m) {
  if (m.Visible != 1 || IsDeleted(m) || !InWindow(s, m.Time)) return false;
  if (s.ShowSWsSpikes) return m.Kind == kSlowWave || m.Kind == kSpike;
  const int kind = PaneMarkKind(s);
  return kind != 0 && m.Kind == kind;
}

void FillTimes(AnalysisState& s) {
  s.MapMarkCount = 0;
  s.MapMinValue = 3333333;
  s.MapMaxValue = -1;
  for (int32_t c = 1; c <= kChannels; ++c) {
    if (!MapComputation::OnGrid(s, c)) continue;
    MapCell& cell = CellOf(s, c);
    for (int n = 1; n <= s.MarkCount; ++n) {
      const MarkRecord& m = s.Mark(n);
      if (m.Electrode != c || !UsedInTimeMap(s, m)) continue;
      const int32_t v = m.Time - s.ReferenceTime;
      if (cell.Value != kNoValue && cell.Value <= v) continue;
      cell.Value = v;
      ++s.MapMarkCount;
      s.MapMinValue = std::min(s.MapMinValue, v);
      s.MapMaxValue = std::max(s.MapMaxValue, v);
    }
    s.MapMinTime = s.MapMinValue;
  }
}

void FillCounts(AnalysisState& s) {
  const int kind = PaneMarkKind(s);
  for (int32_t c = 1; c <= kChannels; ++c) {
    if (!MapComputation::OnGrid(s, c)) continue;
    MapCell& cell = CellOf(s, c);
    if (cell.Value == kAltNoValue) continue;
    for (int n = 1; n <= s.MarkCount; ++n) {
      const MarkRecord& m = s.Mark(n);
      if (m.Electrode != c || IsDeleted(m) || !InShiftedWindow(s, m.Time)) continue;
      if (kind == 0 || m.Kind == kind) ++cell.Value;
    }
  }
}

void FillChannels(AnalysisState& s) {
  for (int32_t c = 1; c <= kChannels; ++c) {
    if (!MapComputation::OnGrid(s, c)) continue;
    MapCell& cell = CellOf(s, c);
    if (cell.Value != kAltNoValue) cell.Value = c;
  }
}

// The earliest mark of the pane's kind in the window, and the time since the mark before it.
int32_t IntervalOf(const AnalysisState& s, int32_t channel) {
  const int kind = PaneMarkKind(s);
  int32_t earliest = kNoValue;
  for (int n = 1; n <= s.MarkCount; ++n) {
    const MarkRecord& m = s.Mark(n);
    if (m.Electrode != channel || IsDeleted(m) || m.Kind != kind || !InWindow(s, m.Time)) continue;
    if (earliest == kNoValue || m.Time < earliest) earliest = m.Time;
  }
  if (earliest == kNoValue) return kNoValue;
  const int32_t previous = MapComputation::PreviousMarkTime(s, channel, earliest);
  if (previous == kNoValue) return kNoValue;
  const int32_t interval = earliest - previous;
  if (s.LimitIntervals && interval > s.MaxIntervalValue) return kNoValue;
  return interval;
}

void FillIntervals(AnalysisState& s) {
  for (int32_t c = 1; c <= kChannels; ++c) {
    if (!MapComputation::OnGrid(s, c)) continue;
    MapCell& cell = CellOf(s, c);
    if (cell.Value == kAltNoValue) continue;
    const int32_t interval = IntervalOf(s, c);
    // An expanded value from an earlier map gives way only to a real interval.
    if (interval != kNoValue || cell.Expanded != 1) cell.Value = interval;
  }
}

// Amplitude (kind 4) or slope (kind 5) of the slow waves in the window; later marks win.
void FillAmplitudesOrSlopes(AnalysisState& s, bool slopes) {
  if (PaneMarkKind(s) != kSlowWave) return;
  const int records = std::min<int>(s.MarkCount, int(s.MarkAmplitudes.size()));
  for (int32_t c = 1; c <= kChannels; ++c) {
    if (!MapComputation::OnGrid(s, c)) continue;
    MapCell& cell = CellOf(s, c);
    for (int n = 1; n <= records; ++n) {
      const MarkRecord& m = s.Mark(n);
      if (m.Electrode != c || m.Kind != kSlowWave || !InWindow(s, m.Time)) continue;
      const AmplitudeRecord& r = s.MarkAmplitudes[size_t(n - 1)];
      if (r.Electrode == kNoValue) continue;
      if (slopes) {
        cell.Slope = r.Slope;
      } else {
        cell.Amplitude = double(r.MaxValue - r.MinValue) / kAmplitudeScale;
      }
    }
  }
}

// The velocity map shows the speeds of the time map of the same window and mark kind, so
// it never depends on what an earlier redraw left in the grid. The time map's summary is
// kept as the last real time map left it.
void FillVelocities(AnalysisState& s) {
  const int32_t count = s.MapMarkCount, minValue = s.MapMinValue;
  const int32_t maxValue = s.MapMaxValue, minTime = s.MapMinTime;
  FillTimes(s);
  s.MapMarkCount = count, s.MapMinValue = minValue, s.MapMaxValue = maxValue, s.MapMinTime = minTime;
  VelocityCalculation::CalcVelocities(s);
  for (int32_t c = 1; c <= kChannels; ++c) {
    if (!MapComputation::OnGrid(s, c)) continue;
    CellOf(s, c).Velocity = s.Square(s.ElectrodeX[c - 1], s.ElectrodeY[c - 1]).Speed;
  }
}

}  // namespace

bool MapComputation::OnGrid(const AnalysisState& s, int32_t channel) {
  if (channel < 1 || channel > kChannels) return false;
  const int32_t x = s.ElectrodeX[channel - 1], y = s.ElectrodeY[channel - 1];
  return x >= 1 && y >= 1 && x <= kMaxGridCols && y <= kMaxGridRows;
}

int MapComputation::UsedCols(const AnalysisState& s) { return std::clamp(s.NrCols, 0, kMaxGridCols); }
int MapComputation::UsedRows(const AnalysisState& s) { return std::clamp(s.NrRows, 0, kMaxGridRows); }
int MapComputation::RequiredNeighbours(const AnalysisState& s) { return std::max(1, s.NrNeighbours); }

void MapComputation::FillMapGrid(AnalysisState& s) {
  if (UsedCols(s) == 0 || UsedRows(s) == 0) return;
  ResetCells(s);
  switch (s.CurMapKind) {
    case 0: FillTimes(s); break;
    case 1: FillCounts(s); break;
    case 2: FillChannels(s); break;
    case 3: FillIntervals(s); break;
    case 4: FillAmplitudesOrSlopes(s, false); break;
    case 5: FillAmplitudesOrSlopes(s, true); break;
    case 6: FillVelocities(s); break;
    default: break;
  }
}

void MapComputation::ExpandMapGrid(AnalysisState& s) {
  const int cols = UsedCols(s), rows = UsedRows(s), required = RequiredNeighbours(s);
  for (int cycle = 0; cycle < s.NrExpandCycles; ++cycle) {
    for (int x = 1; x <= cols; ++x) {
      for (int y = 1; y <= rows; ++y) {
        MapCell& cell = s.Cell(x, y);
        if (cell.Value != kNoValue) continue;
        int64_t sum = 0;
        int n = 0;
        auto take = [&](int col, int row) {
          const int32_t v = s.Cell(col, row).Value;
          if (IsValue(v)) sum += v, ++n;
        };
        if (y > 1) take(x, y - 1);
        if (x > 1) take(x - 1, y);
        if (y < rows) take(x, y + 1);
        if (x < cols) take(x + 1, y);
        if (n < required) continue;
        cell.Value = int32_t(sum / n);
        cell.Expanded = 1;
      }
    }
  }
}

void MapComputation::InterpolateElectrode(AnalysisState& s, int32_t channel, Ui& ui) {
  if (!OnGrid(s, channel)) return;
  const int cols = UsedCols(s), rows = UsedRows(s);
  const int x = s.ElectrodeX[channel - 1], y = s.ElectrodeY[channel - 1];
  if (x > cols || y > rows || s.Cell(x, y).Value != kNoValue) return;
  static constexpr int kSteps[8][2] = {{-1, -1}, {0, -1}, {1, -1}, {1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}};
  int64_t sum = 0;
  int n = 0;
  for (const auto& step : kSteps) {
    const int col = x + step[0], row = y + step[1];
    if (col < 1 || row < 1 || col > cols || row > rows) continue;
    const int32_t v = s.Cell(col, row).Value;
    if (IsValue(v)) sum += v, ++n;
  }
  if (n < RequiredNeighbours(s)) return;
  ui.Log(fmt::format(" valid = {}", n));
  MapCell& cell = s.Cell(x, y);
  cell.Value = int32_t(sum / n);
  cell.Expanded = 1;
  ui.Log(fmt::format(" newtim = {}", cell.Value));
}

int32_t MapComputation::PreviousMarkTime(const AnalysisState& s, int32_t channel, int32_t time) {
  const int kind = PaneMarkKind(s);
  int32_t latest = kNoValue;
  for (int n = 1; n <= s.MarkCount; ++n) {
    const MarkRecord& m = s.Mark(n);
    if (m.Electrode != channel || IsDeleted(m) || m.Kind != kind || m.Time >= time) continue;
    if (latest == kNoValue || m.Time > latest) latest = m.Time;
  }
  return latest;
}

std::optional<int32_t> MapComputation::ChannelAt(const AnalysisState& s, int column, int row) {
  if (column < 1 || row < 1 || column > UsedCols(s) || row > UsedRows(s)) return std::nullopt;
  for (int32_t c = kChannels; c >= 1; --c) {
    if (s.ElectrodeX[c - 1] == column && s.ElectrodeY[c - 1] == row) return c;
  }
  return kNoValue;
}

bool MapComputation::HoldsMapValue(const AnalysisState& s, int column, int row) {
  const std::optional<int32_t> channel = ChannelAt(s, column, row);
  return channel && *channel != kNoValue && IsValue(s.Cell(column, row).Value);
}

}  // namespace velmora
