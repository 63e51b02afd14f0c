#include "maps/FrequencyMap.h"

#include <algorithm>
#include <array>

#include "core/AnalysisState.h"
#include "maps/MapComputation.h"

namespace velmora {

namespace {

constexpr double kMsPerMinute = 60000.0;

}  // namespace

double FrequencyMap::CyclesPerMinute(std::vector<int32_t> times, bool limitIntervals, int32_t maxInterval) {
  std::sort(times.begin(), times.end());
  double sum = 0;
  int intervals = 0;
  for (size_t i = 1; i < times.size(); ++i) {
    const double interval = double(times[i]) - double(times[i - 1]);
    if (interval <= 0 || (limitIntervals && interval > maxInterval)) continue;
    sum += interval;
    ++intervals;
  }
  return intervals == 0 ? -1 : kMsPerMinute * intervals / sum;
}

void FrequencyMap::Fill(AnalysisState& s) {
  const int kind = s.MarkType[s.ActivePane == 2 ? 1 : 0];
  const int64_t first = std::max(s.MapBegin, s.ReferenceTime), last = int64_t(s.MapBegin) + s.MapWindow;
  std::array<std::vector<int32_t>, kChannels + 1> times;
  for (int n = 1; n <= s.MarkCount; ++n) {
    const MarkRecord& m = s.Mark(n);
    if (m.Kind != kind || m.Electrode < 1 || m.Electrode > kChannels || m.Time < first || m.Time > last) continue;
    times[m.Electrode].push_back(m.Time);
  }
  for (int32_t c = 1; c <= kChannels; ++c) {
    if (!MapComputation::OnGrid(s, c)) continue;
    MapCell& cell = s.Cell(s.ElectrodeX[size_t(c - 1)], s.ElectrodeY[size_t(c - 1)]);
    if (cell.Value == kAltNoValue) continue;
    const double cpm = CyclesPerMinute(times[size_t(c)], s.LimitIntervals, s.MaxIntervalValue);
    cell.Frequency = cpm < 0 ? double(kNoValue) : cpm;
  }
}

}  // namespace velmora
