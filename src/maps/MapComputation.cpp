#include "maps/MapComputation.h"

#include <algorithm>
#include <array>

#include <fmt/format.h>

#include "core/AnalysisState.h"
#include "core/Arithmetic.h"
#include "core/SignalUnits.h"
#include "core/Ui.h"
#include "maps/FrequencyMap.h"
#include "maps/VelocityCalculation.h"
#include "marks/ElectrodeQuality.h"

namespace velmora {

namespace {


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
      cell.Frequency = kNoValue;
      cell.Quality = kNoValue;
    }
  }
}

bool AnyOnGrid(const AnalysisState& s) {
  for (int32_t c = 1; c <= kChannels; ++c)
    if (MapComputation::OnGrid(s, c)) return true;
  return false;
}

// The cell of every channel on the grid, nullptr for the others: looked up once per fill.
std::array<MapCell*, kChannels + 1> CellsByChannel(AnalysisState& s) {
  std::array<MapCell*, kChannels + 1> cells{};
  for (int32_t c = 1; c <= kChannels; ++c)
    if (MapComputation::OnGrid(s, c)) cells[size_t(c)] = &CellOf(s, c);
  return cells;
}

// Every fill below walks the mark store once, in store order, and sends each mark to its
// electrode's cell; a cell sees its marks in the same order as a walk per electrode would.
void FillTimes(AnalysisState& s) {
  const std::array<MapCell*, kChannels + 1> cells = CellsByChannel(s);
  const int kind = PaneMarkKind(s);
  const bool both = s.ShowSWsSpikes;
  const int64_t first = std::max(s.MapBegin, s.ReferenceTime), last = int64_t(s.MapBegin) + s.MapWindow;
  int32_t count = 0, lowest = 3333333, highest = -1;
  for (int n = 1; n <= s.MarkCount; ++n) {
    const MarkRecord& m = s.Mark(n);
    if (m.Electrode > kChannels || cells[m.Electrode] == nullptr || m.Visible != 1) continue;
    if (m.Time < first || m.Time > last) continue;
    const bool wanted = both ? (m.Kind == kSlowWave || m.Kind == kSpike) : (kind != 0 && m.Kind == kind);
    if (!wanted) continue;
    MapCell& cell = *cells[m.Electrode];
    const int32_t v = TimeBetween(s.ReferenceTime, m.Time);
    if (v == kNoValue) continue;
    if (cell.Value != kNoValue && cell.Value <= v) continue;
    cell.Value = v;
    ++count;
    lowest = std::min(lowest, v);
    highest = std::max(highest, v);
  }
  s.MapMarkCount = count;
  s.MapMinValue = lowest;
  s.MapMaxValue = highest;
  if (AnyOnGrid(s)) s.MapMinTime = s.MapMinValue;
}

void FillCounts(AnalysisState& s) {
  const int kind = PaneMarkKind(s);
  for (int n = 1; n <= s.MarkCount; ++n) {
    const MarkRecord& m = s.Mark(n);
    if (!MapComputation::OnGrid(s, m.Electrode) || IsDeleted(m) || !InShiftedWindow(s, m.Time)) continue;
    MapCell& cell = CellOf(s, m.Electrode);
    if (cell.Value != kAltNoValue && (kind == 0 || m.Kind == kind)) ++cell.Value;
  }
}

void FillChannels(AnalysisState& s) {
  for (int32_t c = 1; c <= kChannels; ++c) {
    if (!MapComputation::OnGrid(s, c)) continue;
    MapCell& cell = CellOf(s, c);
    if (cell.Value != kAltNoValue) cell.Value = c;
  }
}

// Per electrode: the earliest mark of the pane's kind in the window, then the latest mark of
// that kind before it; the interval is the time between them.
void FillIntervals(AnalysisState& s) {
  const int kind = PaneMarkKind(s);
  std::array<int32_t, kChannels + 1> earliest, previous;
  earliest.fill(kNoValue);
  previous.fill(kNoValue);
  for (int n = 1; n <= s.MarkCount; ++n) {
    const MarkRecord& m = s.Mark(n);
    if (m.Electrode < 1 || m.Electrode > kChannels || IsDeleted(m) || m.Kind != kind || !InWindow(s, m.Time)) continue;
    int32_t& first = earliest[m.Electrode];
    if (first == kNoValue || m.Time < first) first = m.Time;
  }
  for (int n = 1; n <= s.MarkCount; ++n) {
    const MarkRecord& m = s.Mark(n);
    if (m.Electrode < 1 || m.Electrode > kChannels || IsDeleted(m) || m.Kind != kind) continue;
    const int32_t first = earliest[m.Electrode];
    int32_t& latest = previous[m.Electrode];
    if (first != kNoValue && m.Time < first && (latest == kNoValue || m.Time > latest)) latest = m.Time;
  }
  for (int32_t c = 1; c <= kChannels; ++c) {
    if (!MapComputation::OnGrid(s, c)) continue;
    MapCell& cell = CellOf(s, c);
    if (cell.Value == kAltNoValue) continue;
    int32_t interval = kNoValue;
    if (earliest[size_t(c)] != kNoValue && previous[size_t(c)] != kNoValue) {
      interval = TimeBetween(previous[size_t(c)], earliest[size_t(c)]);
      if (s.LimitIntervals && interval > s.MaxIntervalValue) interval = kNoValue;
    }
    // An expanded value from an earlier map gives way only to a real interval.
    if (interval != kNoValue || cell.Expanded != 1) cell.Value = interval;
  }
}

// Amplitude (kind 4) or slope (kind 5) of the slow waves in the window; later marks win.
void FillAmplitudesOrSlopes(AnalysisState& s, bool slopes) {
  if (PaneMarkKind(s) != kSlowWave) return;
  const int records = std::min<int>(s.MarkCount, int(s.MarkAmplitudes.size()));
  for (int n = 1; n <= records; ++n) {
    const MarkRecord& m = s.Mark(n);
    if (!MapComputation::OnGrid(s, m.Electrode) || m.Kind != kSlowWave || !InWindow(s, m.Time)) continue;
    const AmplitudeRecord& r = s.MarkAmplitudes[size_t(n - 1)];
    if (r.Electrode == kNoValue) continue;
    MapCell& cell = CellOf(s, m.Electrode);
    if (slopes) {
      cell.Slope = r.Slope;
    } else {
      cell.Amplitude = double(r.MaxValue - r.MinValue) / UnitsPerMv(s);
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

// How well each electrode records slow waves, over the whole signal (the window plays no part),
// with its verdict in Value for the colours.
void FillQuality(AnalysisState& s) {
  const std::shared_ptr<const ElectrodeQualityTable> table = ElectrodeQuality::Measure(s);
  if (!table) return;
  for (const ElectrodeQualityTable::Record& r : table->electrodes) {
    if (!MapComputation::OnGrid(s, r.channel)) continue;
    MapCell& cell = CellOf(s, r.channel);
    if (cell.Value == kAltNoValue) continue;
    cell.Quality = r.quality;
    cell.Value = int32_t(r.verdict);
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
    case kFrequencyMapKind: FrequencyMap::Fill(s); break;
    case kQualityMap: FillQuality(s); break;
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
