#include "results/StudyRow.h"

#include <cmath>
#include <numbers>
#include <set>
#include <vector>

#include "core/AnalysisState.h"
#include "maps/MapComputation.h"
#include "marks/ElectrodeQuality.h"
#include "results/WaveTable.h"

namespace velmora {

namespace {

constexpr double kRadians = std::numbers::pi / 180.0;

struct MeanSd {
  std::optional<double> mean, sd;
};

MeanSd Spread(const std::vector<double>& values) {
  MeanSd r;
  if (values.empty()) return r;
  double sum = 0;
  for (const double v : values) sum += v;
  r.mean = sum / double(values.size());
  if (values.size() < 2) return r;
  double squares = 0;
  for (const double v : values) squares += (v - *r.mean) * (v - *r.mean);
  r.sd = std::sqrt(squares / double(values.size() - 1));
  return r;
}

std::optional<double> CircularMean(const std::vector<double>& degrees) {
  double c = 0, s = 0;
  for (const double d : degrees) c += std::cos(d * kRadians), s += std::sin(d * kRadians);
  if (std::hypot(c, s) < 1e-12) return std::nullopt;
  double mean = std::atan2(s, c) / kRadians;
  if (mean < 0) mean += 360;
  return mean >= 360 ? 0 : mean;
}

int GridElectrodes(const AnalysisState& s, std::set<int>& channels) {
  for (int c = kFirstElectrode; c <= kChannels; ++c) {
    const int x = s.ElectrodeX[size_t(c - 1)], y = s.ElectrodeY[size_t(c - 1)];
    if (x >= 1 && y >= 1 && x <= MapComputation::UsedCols(s) && y <= MapComputation::UsedRows(s)) channels.insert(c);
  }
  return int(channels.size());
}

}  // namespace

StudyRow StudyRow::Of(const std::string& file, AnalysisState& s, const WaveTable& table) {
  StudyRow row;
  row.file = file;
  row.durationS = double(s.SigLength) / 1000.0;  // SigLength counts ms
  std::set<int> electrodes;
  row.electrodes = GridElectrodes(s, electrodes);
  row.waves = int(table.Rows().size());
  if (const auto quality = ElectrodeQuality::Measure(s)) {
    row.deadElectrodes = 0;
    for (const int32_t c : ElectrodeQuality::DeadChannels(s, *quality, true)) *row.deadElectrodes += int(electrodes.count(c));
  }
  std::vector<double> frequencies, speeds, directions;
  for (const WaveRow& w : table.Rows()) {
    if (w.frequencyCpm) frequencies.push_back(*w.frequencyCpm);
    if (w.speedMmS) speeds.push_back(*w.speedMmS);
    if (w.directionDeg) directions.push_back(*w.directionDeg);
    ++row.patternCounts[size_t(w.pattern)];
  }
  const MeanSd f = Spread(frequencies), v = Spread(speeds);
  row.frequencyMeanCpm = f.mean, row.frequencySdCpm = f.sd;
  row.speedMeanMmS = v.mean, row.speedSdMmS = v.sd;
  row.directionMeanDeg = CircularMean(directions);
  return row;
}

StudyRow StudyRow::Failed(const std::string& file, const std::string& error) {
  StudyRow row;
  row.file = file;
  row.error = error;
  return row;
}

}  // namespace velmora
