#include "results/WaveTable.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "core/AnalysisState.h"
#include "core/Arithmetic.h"
#include "core/SignalUnits.h"
#include "maps/MapComputation.h"
#include "maps/VelocityCalculation.h"
#include "marks/AmplitudeCalculation.h"
#include "waves/WaveSearch.h"

namespace velmora {

namespace {

constexpr double kDegrees = 180.0 / std::numbers::pi;
constexpr double kMmPerSPerCmPerS = 10.0;
constexpr double kMicrovoltsPerMv = 1000.0;
constexpr double kSecondsPerMinute = 60.0;

int PaneMarkType(const AnalysisState& s) { return s.MarkType[s.ActivePane == 2 ? 1 : 0]; }

// Degrees in the arrows' convention of a velocity along columns and rows (rows run down).
double DirectionOf(double vx, double vy) {
  double d = std::atan2(-vy, vx) * kDegrees;
  if (d < 0) d += 360;
  return d >= 360 ? 0 : d;
}

std::optional<double> CircularMean(double sumCos, double sumSin) {
  if (std::hypot(sumCos, sumSin) < 1e-12) return std::nullopt;
  return DirectionOf(sumCos, -sumSin);
}

// Amplitudes of the loaded marks of a channel by their time after the reference.
class AmplitudeIndex {
 public:
  explicit AmplitudeIndex(const AnalysisState& s) : byChannel_(kChannels + 1) {
    if (!s.AmplitudesValid || int(s.MarkAmplitudes.size()) < s.MarkCount) return;
    const int type = PaneMarkType(s);
    for (int n = 1; n <= s.MarkCount; ++n) {
      const MarkRecord& m = s.Mark(n);
      if (m.Kind != type || m.Electrode < kFirstElectrode || m.Electrode > kChannels || m.Time < s.ReferenceTime)
        continue;
      const AmplitudeRecord& r = s.MarkAmplitudes[size_t(n - 1)];
      if (r.Electrode == kNoValue) continue;
      const double uv = double(r.MaxValue - r.MinValue) / UnitsPerMv(s) * kMicrovoltsPerMv;
      byChannel_[size_t(m.Electrode)].push_back({TimeBetween(s.ReferenceTime, m.Time), uv});
    }
    for (auto& entries : byChannel_) std::stable_sort(entries.begin(), entries.end(), ByTime);
  }
  std::optional<double> At(int channel, int32_t time) const {
    const auto& entries = byChannel_[size_t(channel)];
    const auto found = std::lower_bound(entries.begin(), entries.end(), Entry{time, 0}, ByTime);
    if (found == entries.end() || found->time != time) return std::nullopt;
    return found->uv;
  }

 private:
  struct Entry {
    int32_t time;
    double uv;
  };
  static bool ByTime(const Entry& a, const Entry& b) { return a.time < b.time; }
  std::vector<std::vector<Entry>> byChannel_;
};

struct Grid {
  int cols = 0, rows = 0;
  std::vector<bool> electrodes;  // column outer
  std::vector<int> channel;      // lowest channel at each position, 0 for none
};

Grid GridOf(const AnalysisState& s) {
  Grid g{MapComputation::UsedCols(s), MapComputation::UsedRows(s), {}, {}};
  g.electrodes.assign(size_t(g.cols) * size_t(g.rows), false);
  g.channel.assign(g.electrodes.size(), 0);
  for (int c = kChannels; c >= kFirstElectrode; --c) {
    const int x = s.ElectrodeX[size_t(c - 1)], y = s.ElectrodeY[size_t(c - 1)];
    if (x < 1 || y < 1 || x > g.cols || y > g.rows) continue;
    g.electrodes[size_t(x - 1) * size_t(g.rows) + size_t(y - 1)] = true;
    g.channel[size_t(x - 1) * size_t(g.rows) + size_t(y - 1)] = c;
  }
  return g;
}

// A wave while the table is built: its row, its times and what the pattern rules read.
struct WaveWork {
  WaveRow row;
  std::vector<PropagationPattern::Site> sites;
  std::vector<int> channels;  // of the sites
  TimeGrid times{0, 0};
  std::vector<VelocityEstimate> velocities;
};

void SummariseVelocities(WaveWork& w) {
  if (w.velocities.empty()) return;
  double sum = 0, sumCos = 0, sumSin = 0;
  for (const VelocityEstimate& e : w.velocities) {
    sum += e.velocity.speed * kMmPerSPerCmPerS;
    const double d = DirectionOf(e.velocity.vx, e.velocity.vy) / kDegrees;
    sumCos += std::cos(d), sumSin += std::sin(d);
  }
  const double n = double(w.velocities.size()), mean = sum / n;
  w.row.speedMmS = mean;
  if (w.velocities.size() >= 2) {
    double squares = 0;
    for (const VelocityEstimate& e : w.velocities) squares += std::pow(e.velocity.speed * kMmPerSPerCmPerS - mean, 2);
    w.row.speedSdMmS = std::sqrt(squares / (n - 1));
  }
  w.row.directionDeg = CircularMean(sumCos, sumSin);
}

// The velocities measured at or around one site: the fit's at the electrode, a square's at
// each of its corners.
std::optional<Velocity> SiteVelocity(const WaveWork& w, const PropagationPattern::Site& site, int step) {
  double vx = 0, vy = 0;
  int n = 0;
  const double reach = std::max(1, step) * std::numbers::sqrt2 / 2 + 1e-9;
  for (const VelocityEstimate& e : w.velocities) {
    if (std::abs(e.column - site.col) > step || std::abs(e.row - site.row) > step) continue;
    if (std::hypot(e.x - site.col, e.y - site.row) > reach) continue;
    vx += e.velocity.vx, vy += e.velocity.vy, ++n;
  }
  if (n == 0) return std::nullopt;
  Velocity v{vx / n, vy / n, 0};
  v.speed = 100.0 * std::hypot(v.vx, v.vy);
  return v;
}

std::optional<WaveWork> CollectWave(const AnalysisState& s, const WaveSearch& search, const Grid& g, int wave,
                                    int minSites) {
  WaveWork w;
  w.times = TimeGrid(g.cols, g.rows);
  for (int x = 1; x <= g.cols; ++x) {
    for (int y = 1; y <= g.rows; ++y) {
      const int channel = g.channel[size_t(x - 1) * size_t(g.rows) + size_t(y - 1)];
      if (channel == 0) continue;
      const int32_t t = search.WaveTime(channel, wave);
      if (t == kNoValue) continue;
      w.sites.push_back({x, y, double(t)});
      w.channels.push_back(channel);
      w.times.Set(x, y, t);
    }
  }
  if (w.sites.empty() || int(w.sites.size()) < minSites) return std::nullopt;
  const auto [first, last] = std::minmax_element(
      w.sites.begin(), w.sites.end(), [](const auto& a, const auto& b) { return a.timeMs < b.timeMs; });
  w.row.wave = wave;
  w.row.startMs = int32_t(first->timeMs);
  w.row.durationMs = int32_t(last->timeMs - first->timeMs);
  w.row.sites = int(w.sites.size());
  w.row.areaMm2 = w.row.sites * s.ElectrodeDistance * s.ElectrodeDistance;
  w.velocities = VelocityCalculation::Estimate(s, w.times);
  std::erase_if(w.velocities, [&](const VelocityEstimate& e) { return !(e.velocity.speed <= s.MaxCondVel); });
  SummariseVelocities(w);
  return w;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void SetInterval(WaveWork& w, const WaveWork& before) {
  std::vector<double> differences;
  for (const auto& site : w.sites)
    if (before.times.Has(site.col, site.row)) differences.push_back(site.timeMs - before.times.At(site.col, site.row));
  const double ms = differences.empty() ? double(w.row.startMs - before.row.startMs) : Median(differences);
  if (!(ms > 0)) return;
  w.row.intervalS = ms / 1000.0;
  w.row.frequencyCpm = kSecondsPerMinute / *w.row.intervalS;
}

void SetPattern(WaveWork& w, const Grid& g, const WaveWork* before, const WaveWork* after, double normalDeg) {
  PropagationPattern::Wave wave;
  wave.cols = g.cols, wave.rows = g.rows;
  wave.sites = PropagationPattern::Smoothed(w.sites, g.cols, g.rows);
  wave.times = w.times;
  wave.before = before ? &before->times : nullptr;
  wave.after = after ? &after->times : nullptr;
  wave.electrodes = &g.electrodes;
  wave.velocities = w.velocities;
  wave.directionDeg = w.row.directionDeg;
  wave.normalDeg = normalDeg;
  const std::vector<size_t> origins =
      PropagationPattern::Origins(wave.sites, PropagationPattern::Prominence(wave.sites));
  for (const size_t o : origins) w.row.origin.push_back(w.channels[o]);
  w.row.pattern = PropagationPattern::Classify(wave, origins);
}

void AddMarkRows(const AnalysisState& s, const WaveWork& w, const AmplitudeIndex& amplitudes,
                 std::vector<WaveMarkRow>& marks, std::vector<double>& waveAmplitudes) {
  std::vector<size_t> order(w.sites.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::sort(order.begin(), order.end(), [&](size_t a, size_t b) { return w.channels[a] < w.channels[b]; });
  for (const size_t i : order) {
    const auto& site = w.sites[i];
    WaveMarkRow m{w.row.wave, w.channels[i], site.col, site.row, int32_t(site.timeMs), {}, {}, {}};
    if (const std::optional<Velocity> v = SiteVelocity(w, site, std::max(1, s.IncVel))) {
      m.speedMmS = v->speed * kMmPerSPerCmPerS;
      m.directionDeg = DirectionOf(v->vx, v->vy);
    }
    m.amplitudeUv = amplitudes.At(m.electrode, m.timeMs);
    if (m.amplitudeUv) waveAmplitudes.push_back(*m.amplitudeUv);
    marks.push_back(m);
  }
}

}  // namespace

WaveTable WaveTable::Build(const AnalysisState& s, const WaveSearch& search, const WaveTableSettings& settings) {
  WaveTable table;
  const Grid g = GridOf(s);
  table.cols_ = g.cols, table.gridRows_ = g.rows, table.distance_ = s.ElectrodeDistance;
  std::vector<WaveWork> waves;
  for (int wave = 1; wave <= s.NrWaves; ++wave)
    if (std::optional<WaveWork> w = CollectWave(s, search, g, wave, settings.minSites)) waves.push_back(std::move(*w));
  const AmplitudeIndex amplitudes(s);
  for (size_t i = 0; i < waves.size(); ++i) {
    WaveWork& w = waves[i];
    if (i > 0) SetInterval(w, waves[i - 1]);
    SetPattern(w, g, i > 0 ? &waves[i - 1] : nullptr, i + 1 < waves.size() ? &waves[i + 1] : nullptr,
               settings.normalDeg);
    std::vector<double> waveAmplitudes;
    AddMarkRows(s, w, amplitudes, table.marks_, waveAmplitudes);
    if (!waveAmplitudes.empty()) {
      double sum = 0;
      for (const double a : waveAmplitudes) sum += a;
      w.row.amplitudeUv = sum / double(waveAmplitudes.size());
    }
    table.rows_.push_back(w.row);
  }
  return table;
}

const WaveRow* WaveTable::Row(int wave) const {
  const auto found = std::lower_bound(rows_.begin(), rows_.end(), wave,
                                      [](const WaveRow& r, int w) { return r.wave < w; });
  return found != rows_.end() && found->wave == wave ? &*found : nullptr;
}

}  // namespace velmora
