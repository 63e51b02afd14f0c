#include "marks/RobustDetector.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <limits>
#include <memory>

#include "core/AnalysisState.h"
#include "core/Arithmetic.h"
#include "core/Limits.h"

namespace velmora {

namespace {

// The rate of the store's rows; 1000 Hz when unknown.
double Rate(const AnalysisState& s) { return s.SamplingF > 0 ? double(s.SamplingF) : 1000.0; }

constexpr int kElectrodes = kChannels - kFirstElectrode + 1;
constexpr int kRowsBetweenCancelChecks = 65536;
constexpr double kDeviationPerMedian = 1.4826;  // the deviation of normal noise over its median |value|
constexpr float kLeastDeviation = 1.0f;          // signal units: a flat channel still has a threshold
// A peak is kept as a candidate while the block's noise is not yet known when it stands out by
// this share of the threshold at the deviation of the blocks before: the deviation at its time
// (which looks ahead as well) would have to halve to let a peak below that through.
constexpr float kCandidateShare = 0.7f;
constexpr double kSteadyShare = 0.5;  // see Steep

using Row = std::array<float, kElectrodes>;

struct Peak {
  int32_t sample;
  float before, at, after;  // F at the sample before, at and after the peak
  float shortFall;          // the fall over w at the peak, of which F is what the steady part leaves
};

// The window sums of one electrode-wide row position: over w and W samples after and before.
struct alignas(64) Sums {
  std::array<int32_t, kElectrodes> afterShort{}, beforeShort{}, afterLong{}, beforeLong{};
};

// Everything one run keeps: the sums, the last two rows of F, the noise samples of the block
// under way, and per electrode its peaks and the deviations of its finished blocks.
struct Pass {
  int32_t rows = 0, shortWidth = 0, longWidth = 0, blockRows = 0, noiseStep = 0, windowBlocks = 0;
  float threshold = 0;
  int32_t limit = 0;  // samples are taken within +-limit, so no window sum can overflow
  Sums sums;
  // F of the last three samples, taking turns: the row of sample t is rows3[t % 3]; and the
  // fall over w of the last two, in shortFalls[t % 2].
  std::array<Row, 3> rows3{};
  std::array<Row, 2> shortFalls{};
  Row candidateLevel{};
  std::vector<Row> blockNoise;  // |F| every noiseStep rows of the block under way
  int blockNoiseCount = 0;
  std::array<std::vector<Peak>, kElectrodes> peaks;
  std::array<std::vector<float>, kElectrodes> blockDeviation;
  // The samples the windows reach before sample 1 and after the last one (index k - 1 for
  // 1 - k and for last + k), each row the electrodes' values.
  std::vector<int32_t> edgeBefore, edgeAfter;
  // The samples the windows of the current sample reach, held within +-limit: sample k in row
  // k & ringMask. Each is read from the store and clipped once.
  std::vector<int32_t> ring;
  uint32_t ringMask = 0;
  int32_t* RingRow(int32_t sample) { return ring.data() + size_t(uint32_t(sample) & ringMask) * kElectrodes; }
};

float Median(std::vector<float>& values) {
  if (values.empty()) return 0;
  const auto middle = values.begin() + std::ptrdiff_t(values.size() / 2);
  std::nth_element(values.begin(), middle, values.end());
  return *middle;
}

const int32_t* StoreRow(const AnalysisState& s, int32_t sample) {
  return s.Signals.data() + size_t(sample - 1) * kChannels + (kFirstElectrode - 1);
}

// The signal goes on beyond its ends as the ends' mirror images turned over (x(1 - k) =
// 2 x(1) - x(1 + k)), so that a baseline still sloping there stays a straight line to the
// transform instead of a bend that looks like a fall.
void MakeEdges(const AnalysisState& s, Pass& p) {
  const auto reach = size_t(p.longWidth + 1);
  p.edgeBefore.assign(reach * kElectrodes, 0);
  p.edgeAfter.assign(reach * kElectrodes, 0);
  const int32_t* first = StoreRow(s, 1);
  const int32_t* last = StoreRow(s, p.rows);
  for (size_t k = 1; k <= reach; ++k) {
    const int32_t* inside = StoreRow(s, int32_t(std::min<size_t>(1 + k, size_t(p.rows))));
    const int32_t* insideEnd = StoreRow(s, int32_t(std::max<int64_t>(int64_t(p.rows) - int64_t(k), 1)));
    for (int c = 0; c < kElectrodes; ++c) {
      p.edgeBefore[(k - 1) * kElectrodes + size_t(c)] =
          int32_t(std::clamp<int64_t>(2 * int64_t(first[c]) - inside[c], -p.limit, p.limit));
      p.edgeAfter[(k - 1) * kElectrodes + size_t(c)] =
          int32_t(std::clamp<int64_t>(2 * int64_t(last[c]) - insideEnd[c], -p.limit, p.limit));
    }
  }
}

const int32_t* RowOf(const AnalysisState& s, const Pass& p, int32_t sample) {
  if (sample < 1) return p.edgeBefore.data() + size_t(-int64_t(sample)) * kElectrodes;
  if (sample > p.rows) return p.edgeAfter.data() + size_t(sample - p.rows - 1) * kElectrodes;
  return StoreRow(s, sample);
}

// Starts the window sums at sample 1.
void StartSums(const AnalysisState& s, Pass& p) {
  for (int c = 0; c < kElectrodes; ++c) {
    const auto at = [&](int32_t sample) { return int64_t(std::clamp(RowOf(s, p, sample)[c], -p.limit, p.limit)); };
    int64_t afterShort = 0, afterLong = 0, beforeShort = 0, beforeLong = 0;
    for (int32_t k = 1; k <= p.longWidth; ++k) {
      if (k <= p.shortWidth) afterShort += at(1 + k), beforeShort += at(1 - k);
      afterLong += at(1 + k);
      beforeLong += at(1 - k);
    }
    p.sums.afterShort[size_t(c)] = int32_t(afterShort);
    p.sums.afterLong[size_t(c)] = int32_t(afterLong);
    p.sums.beforeShort[size_t(c)] = int32_t(beforeShort);
    p.sums.beforeLong[size_t(c)] = int32_t(beforeLong);
  }
}

__attribute__((target_clones("avx2", "default"))) void ClipRow(int32_t* __restrict out, const int32_t* in,
                                                                int32_t limit) {
  for (int c = 0; c < kElectrodes; ++c) out[c] = std::min(std::max(in[c], -limit), limit);
}

// One row of F: moves the sums one sample on and takes the falls. The sums wrap in 32 bits,
// but every true window sum fits (the samples are held within +-limit), so the differences
// are exact. Returns whether any electrode's F peaked at the sample before, above its
// candidate level: rows without a peak, nearly all, cost no more.
struct RowsOfF {
  float* out;
  float* shortFall;
  const float *before, *at;  // F of the two samples before
  const float* level;
};

__attribute__((target_clones("avx2", "default"))) int
FallRow(Sums& __restrict sums, const RowsOfF& f, const int32_t* longIn, const int32_t* shortIn,
        const int32_t* centreRow, const int32_t* previousRow, const int32_t* shortOut, const int32_t* longOut,
        float shortScale, float longScale) {
  float* __restrict out = f.out;
  float* __restrict shortFalls = f.shortFall;
  int any = 0;
  for (int c = 0; c < kElectrodes; ++c) {
    const auto centre = uint32_t(centreRow[c]), previous = uint32_t(previousRow[c]);
    sums.afterShort[c] = int32_t(uint32_t(sums.afterShort[c]) + uint32_t(shortIn[c]) - centre);
    sums.afterLong[c] = int32_t(uint32_t(sums.afterLong[c]) + uint32_t(longIn[c]) - centre);
    sums.beforeShort[c] = int32_t(uint32_t(sums.beforeShort[c]) + previous - uint32_t(shortOut[c]));
    sums.beforeLong[c] = int32_t(uint32_t(sums.beforeLong[c]) + previous - uint32_t(longOut[c]));
    const float shortFall = float(sums.beforeShort[c] - sums.afterShort[c]) * shortScale;
    const float fall = shortFall - float(sums.beforeLong[c] - sums.afterLong[c]) * longScale;
    out[c] = fall;
    shortFalls[c] = shortFall;
    any |= int(f.at[c] > f.level[c]) & int(f.at[c] > f.before[c]) & int(f.at[c] >= fall);
  }
  return any;
}

// Keeps the electrodes whose F peaked at sample - 1 above their candidate level.
void CollectPeaks(Pass& p, int32_t sample) {
  const Row& before = p.rows3[size_t((sample + 1) % 3)];
  const Row& at = p.rows3[size_t((sample + 2) % 3)];
  const Row& after = p.rows3[size_t(sample % 3)];
  const Row& shortFall = p.shortFalls[size_t((sample - 1) % 2)];
  for (int c = 0; c < kElectrodes; ++c) {
    if (at[c] > p.candidateLevel[c] && at[c] > before[c] && at[c] >= after[c])
      p.peaks[size_t(c)].push_back({sample - 1, before[c], at[c], after[c], shortFall[c]});
  }
}

// The block's deviation per electrode, and the candidate level for the next block from the
// deviations of the blocks before it.
void EndBlock(Pass& p) {
  std::vector<float> values(size_t(p.blockNoiseCount));
  for (int c = 0; c < kElectrodes; ++c) {
    for (int k = 0; k < p.blockNoiseCount; ++k) values[size_t(k)] = p.blockNoise[size_t(k)][size_t(c)];
    std::vector<float>& deviations = p.blockDeviation[size_t(c)];
    deviations.push_back(std::max(float(kDeviationPerMedian) * Median(values), kLeastDeviation));
    // The lower of the last two, so that one block a burst of noise or an artifact raised
    // does not raise it.
    const float recent = deviations.size() > 1 ? std::min(deviations.back(), deviations[deviations.size() - 2])
                                               : deviations.back();
    p.candidateLevel[size_t(c)] = kCandidateShare * p.threshold * recent;
  }
  p.blockNoiseCount = 0;
}

void StartRing(const AnalysisState& s, Pass& p) {
  uint32_t size = 1;
  while (size < uint32_t(2 * p.longWidth + 2)) size *= 2;
  p.ring.assign(size_t(size) * kElectrodes, 0);
  p.ringMask = size - 1;
  for (int32_t sample = -p.longWidth; sample <= 1 + p.longWidth; ++sample)
    ClipRow(p.RingRow(sample), RowOf(s, p, sample), p.limit);
}

bool Scan(const AnalysisState& s, Pass& p, const std::function<bool()>& cancelled) {
  MakeEdges(s, p);
  StartSums(s, p);
  StartRing(s, p);
  const float shortScale = 1.0f / float(p.shortWidth);
  const float longScale = float(p.shortWidth) / (float(p.longWidth) * float(p.longWidth));
  for (int32_t sample = 1; sample <= p.rows; ++sample) {
    if (sample % kRowsBetweenCancelChecks == 0 && cancelled && cancelled()) return false;
    if (sample > 1) ClipRow(p.RingRow(sample + p.longWidth), RowOf(s, p, sample + p.longWidth), p.limit);
    // At sample 1 the sums are already there: the rows given add and take away the same.
    const auto ring = [&](int32_t k) { return p.RingRow(sample > 1 ? k : 1); };
    Row& current = p.rows3[size_t(sample % 3)];
    const RowsOfF f{current.data(), p.shortFalls[size_t(sample % 2)].data(), p.rows3[size_t((sample + 1) % 3)].data(),
                    p.rows3[size_t((sample + 2) % 3)].data(), p.candidateLevel.data()};
    const int peaked = FallRow(p.sums, f, ring(sample + p.longWidth), ring(sample + p.shortWidth), ring(sample),
                               ring(sample - 1), ring(sample - 1 - p.shortWidth), ring(sample - 1 - p.longWidth),
                               shortScale, longScale);
    // A peak counts only where all its windows lie within the signal.
    if (peaked && sample - 1 > p.longWidth && sample - 1 + p.longWidth <= p.rows) CollectPeaks(p, sample);
    if (sample % p.noiseStep == 0) {
      Row& noise = p.blockNoise[size_t(p.blockNoiseCount++)];
      for (int c = 0; c < kElectrodes; ++c) noise[size_t(c)] = std::abs(current[size_t(c)]);
    }
    if (sample % p.blockRows == 0 || sample == p.rows) EndBlock(p);
  }
  return true;
}

// A slow wave's downstroke is steep: F is mostly the fall over w itself, and the steady part
// (a slope over W, falling or rising) is at most half as large. Where a slow swing of the
// baseline (a motion artifact) sets in, F can stand out of the noise too, but there it comes
// from the steady part: the fall over w is mostly the swing's slope, or F is the long window
// rising faster than the short one.
bool Steep(const Peak& peak) {
  const double steadyPart = double(peak.shortFall) - peak.at;
  return std::abs(steadyPart) <= kSteadyShare * peak.shortFall;
}

// The deviation at each block: the median of the blocks' own within `half` blocks either
// side. Worked out only for the blocks that hold a peak, when first asked.
class CentredDeviations {
 public:
  CentredDeviations(const std::vector<float>& blocks, int half)
      : blocks_(blocks), half_(size_t(half)), known_(blocks.size(), -1.0f) {}
  float At(size_t block) {
    block = std::min(block, blocks_.size() - 1);
    if (known_[block] < 0) {
      const size_t from = block > half_ ? block - half_ : 0, to = std::min(blocks_.size(), block + half_ + 1);
      window_.assign(blocks_.begin() + std::ptrdiff_t(from), blocks_.begin() + std::ptrdiff_t(to));
      known_[block] = Median(window_);
    }
    return known_[block];
  }

 private:
  const std::vector<float>& blocks_;
  size_t half_;
  std::vector<float> known_, window_;
};

// Where between samples the peak lies: the vertex of the parabola through the three values.
double PeakOffset(const Peak& peak) {
  const double bend = double(peak.before) - 2.0 * peak.at + peak.after;
  if (bend >= 0) return 0;
  return std::clamp(0.5 * (double(peak.before) - peak.after) / bend, -0.5, 0.5);
}

struct Strong {
  const Peak* peak;
  float strength;
};

// The steep peaks standing out by the threshold; of those closer than the refractory period the
// strongest stays (the earlier one when two are equally strong).
std::vector<Strong> Activations(const Pass& p, int c, CentredDeviations& deviations, int32_t refractory) {
  std::vector<Strong> strong;
  for (const Peak& peak : p.peaks[size_t(c)]) {
    const float strength = peak.at / deviations.At(size_t((peak.sample - 1) / p.blockRows));
    if (strength > p.threshold) strong.push_back({&peak, strength});
  }
  std::stable_sort(strong.begin(), strong.end(), [](const Strong& a, const Strong& b) { return a.strength > b.strength; });
  std::vector<Strong> kept;
  std::vector<int32_t> keptTimes;  // ascending
  for (const Strong& candidate : strong) {
    const int32_t t = candidate.peak->sample;
    const auto next = std::lower_bound(keptTimes.begin(), keptTimes.end(), t);
    if (next != keptTimes.end() && int64_t(*next) - t < refractory) continue;
    if (next != keptTimes.begin() && int64_t(t) - *(next - 1) < refractory) continue;
    if (!Steep(*candidate.peak)) continue;
    keptTimes.insert(next, t);
    kept.push_back(candidate);
  }
  std::sort(kept.begin(), kept.end(), [](const Strong& a, const Strong& b) { return a.peak->sample < b.peak->sample; });
  return kept;
}

RobustDetector::Electrode Finish(const AnalysisState& s, const Pass& p, int c, const RobustDetector::Settings& settings) {
  RobustDetector::Electrode e;
  const std::vector<float>& blocks = p.blockDeviation[size_t(c)];
  if (blocks.empty()) return e;
  CentredDeviations deviations(blocks, p.windowBlocks - 1);
  std::vector<float> sorted = blocks;
  e.noise = Median(sorted);
  std::vector<float> strengths;
  for (const Strong& a : Activations(p, c, deviations, RobustDetector::Samples(s, settings.refractoryMs))) {
    // The place between samples becomes milliseconds before it is rounded: at a rate other
    // than 1000 Hz a sample is not a millisecond.
    const double at = std::clamp(double(a.peak->sample) + PeakOffset(*a.peak) + s.SignalLookAhead, 1.0, double(p.rows));
    const auto time = int32_t(std::clamp<int64_t>(RoundHalfEven(at * 1000.0 / Rate(s)), 1, INT32_MAX));
    e.activations.push_back({time, a.strength});
    strengths.push_back(a.strength);
  }
  e.quality = Median(strengths);
  e.dead = e.activations.empty() || e.quality < settings.deadQuality;
  return e;
}

}  // namespace

bool RobustDetector::Run(const AnalysisState& s, const Settings& settings, std::vector<Electrode>& electrodes,
                         const std::function<bool()>& cancelled) {
  electrodes.assign(kElectrodes, Electrode{});
  auto p = std::make_unique<Pass>();
  // SigLength counts milliseconds, the rows samples.
  p->rows = int32_t(std::min<int64_t>(RoundHalfEven(double(s.SigLength) * Rate(s) / 1000.0), s.SignalRows()));
  if (p->rows < 1) {
    for (Electrode& e : electrodes) e.dead = true;
    return true;
  }
  p->shortWidth = Samples(s, settings.fallWidthMs);
  p->longWidth = kExtraScale * p->shortWidth;
  p->blockRows = Samples(s, 1000);
  p->noiseStep = 2 * p->shortWidth;
  p->windowBlocks = std::max(0, settings.noiseWindowMs / 2000) + 1;
  p->threshold = float(settings.threshold);
  p->limit = std::numeric_limits<int32_t>::max() / (p->longWidth + 1);
  p->blockNoise.resize(size_t(p->blockRows / p->noiseStep + 2));
  if (!Scan(s, *p, cancelled)) return false;
  for (int c = 0; c < kElectrodes; ++c) electrodes[size_t(c)] = Finish(s, *p, c, settings);
  return true;
}

RobustDetector::Settings RobustDetector::SettingsOf(const AnalysisState& s) {
  return {s.RobustFallWidth, s.RobustThreshold, s.RobustRefractory, s.RobustNoiseWindow, s.DeadQuality};
}

int32_t RobustDetector::Samples(const AnalysisState& s, int32_t ms) {
  return int32_t(std::clamp<double>(std::round(double(ms) * Rate(s) / 1000.0), 1, std::numeric_limits<int32_t>::max() / 8));
}

}  // namespace velmora
