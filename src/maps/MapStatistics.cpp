#include "maps/MapStatistics.h"

#include <cmath>

#include "core/AnalysisState.h"
#include "maps/FrequencyMap.h"
#include "maps/MapComputation.h"
#include "maps/MapUnits.h"
#include "maps/StatisticsText.h"
#include "maps/VelocityArrows.h"

namespace velmora {

namespace {

constexpr int kVelocitySlot = 2;

std::string Number(double v) { return GroupedFixed(v, 2, 9); }

// The title and slot of each map kind; the velocity map has no title of its own.
int SlotAndTitle(int kind, std::string& title) {
  switch (kind) {
    case 0: title = "Times"; return 1;
    case 1: title = "Count Map"; return 1;
    case 2: title = "Electrodes"; return 1;
    case 3: title = "Intervals"; return 1;
    case 4: title = "Amplitudes"; return 2;
    case 5: title = "Slopes"; return 3;
    case kFrequencyMapKind: title = "Frequencies"; return 1;
    case kQualityMap: title = "Quality"; return 2;
    default: title.clear(); return 1;
  }
}

}  // namespace

MapStatistics::MapStatistics(Units units) : units_(units) {
  values_.reserve(size_t(kMaxGridCols) * kMaxGridRows);
}

void MapStatistics::CalcMapStats(const AnalysisState& s, std::vector<std::string>& memo) {
  memo.clear();
  memo.push_back(" ");
  std::string title;
  const int slot = SlotAndTitle(s.CurMapKind, title);
  if (!title.empty()) memo.push_back(title);
  FillHistoBuf(s, slot);
  ShowSection(slot, MapUnits::ValueUnit(s.CurMapKind), memo);
  // The velocities get a section of their own below the map's values, and only when the map
  // drawn has arrows: otherwise the velocity grid belongs to some earlier map.
  if (VelocityArrows::Shown(s)) {
    FillCondVel(s);
    memo.push_back("Velocities");
    ShowSection(kVelocitySlot, MapUnits::kVelocity, memo);
  }
}

void MapStatistics::ShowSection(int slot, const std::string& unit, std::vector<std::string>& memo) {
  if (values_.empty()) return;
  CalcStats(slot);
  DisplayBasicStats(slot, units_ == Units::Shown && !unit.empty() ? " " + unit : "", memo);
}

// Only electrode cells count, and only real values: a cell without an electrode holds
// whatever expansion or start-up left there, an excluded cell holds a marker, not data.
void MapStatistics::FillHistoBuf(const AnalysisState& s, int slot) {
  values_.clear();
  const int cols = MapComputation::UsedCols(s), rows = MapComputation::UsedRows(s);
  for (int x = 1; x <= cols; ++x) {
    for (int y = 1; y <= rows; ++y) {
      const std::optional<int32_t> channel = MapComputation::ChannelAt(s, x, y);
      if (!channel || *channel == kNoValue) continue;
      const MapCell& cell = s.Cell(x, y);
      if (cell.Value == kAltNoValue) continue;
      double v = kNoValue;
      if (s.CurMapKind == 6 || s.CurMapKind == kQualityMap || s.CurMapKind == kFrequencyMapKind) {
        v = RealCellValue(cell, s.CurMapKind);
      } else if (slot == 1) {
        v = cell.Value;
      } else {
        v = slot == 2 ? cell.Amplitude : cell.Slope;
      }
      if (v != double(kNoValue)) values_.push_back(v);
    }
  }
}

void MapStatistics::FillCondVel(const AnalysisState& s) {
  values_.clear();
  const int cols = MapComputation::UsedCols(s), rows = MapComputation::UsedRows(s);
  for (int x = 1; x <= cols; ++x) {
    for (int y = 1; y <= rows; ++y) {
      const double speed = s.Square(x, y).Speed;
      if (speed != double(kNoValue)) values_.push_back(speed);
    }
  }
}

void MapStatistics::CalcStats(int slot) {
  StatsRecord& r = records_[size_t(slot - 1)];
  r.Min = 33000;
  r.Max = -33000;
  double sum = 0;
  for (double v : values_) {
    if (v < r.Min) r.Min = v;
    if (v > r.Max) r.Max = v;
    sum += v;
  }
  const double n = double(values_.size());
  r.Mean = sum / n;
  double squares = 0;
  for (double v : values_) squares += (r.Mean - v) * (r.Mean - v);
  r.SD = std::sqrt(squares / n);
  r.N = int32_t(values_.size());
}

void MapStatistics::DisplayBasicStats(int slot, const std::string& unit, std::vector<std::string>& memo) const {
  const StatsRecord& r = records_[size_t(slot - 1)];
  memo.push_back(" ");
  memo.push_back("N = " + std::to_string(r.N));
  memo.push_back("Avg = " + Number(r.Mean) + unit);
  memo.push_back("SD = " + Number(r.SD) + unit);
  memo.push_back("Max= " + Number(r.Max) + unit);
  memo.push_back("Min= " + Number(r.Min) + unit);
}

}  // namespace velmora
