#include "input/SampleScore.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "core/AnalysisState.h"
#include "core/Limits.h"
#include "input/SampleRecording.h"

namespace velmora {

double MarkScore::Sensitivity() const { return activations ? double(matched) / double(activations) : NAN; }

double MarkScore::PositivePredictiveValue() const { return marks ? double(matched) / double(marks) : NAN; }

double MarkScore::MedianAbsoluteError() const {
  if (errors.empty()) return NAN;
  std::vector<int32_t> sizes;
  for (const int32_t e : errors) sizes.push_back(std::abs(e));
  std::sort(sizes.begin(), sizes.end());
  const size_t n = sizes.size();
  return n % 2 ? sizes[n / 2] : 0.5 * (sizes[n / 2 - 1] + sizes[n / 2]);
}

double MarkScore::MeanError() const {
  if (errors.empty()) return NAN;
  double sum = 0;
  for (const int32_t e : errors) sum += e;
  return sum / double(errors.size());
}

void MarkScore::Add(const MarkScore& other) {
  activations += other.activations;
  marks += other.marks;
  matched += other.matched;
  deadMarks += other.deadMarks;
  errors.insert(errors.end(), other.errors.begin(), other.errors.end());
}

MarkScore SampleScore::Score(const AnalysisState& s, const std::vector<Activation>& truth,
                             const std::vector<int>& deadChannels, int firstMark) {
  MarkScore score;
  std::vector<std::vector<int32_t>> marks(kChannels + 1);
  for (int n = std::max(firstMark, 1); n <= s.MarkCount; ++n) {
    const MarkRecord& m = s.Mark(n);
    if (m.Kind != kSlowWave || m.Electrode < kFirstElectrode || m.Electrode > kChannels) continue;
    if (s.ElectrodeX[size_t(m.Electrode - 1)] < 1 || s.ElectrodeY[size_t(m.Electrode - 1)] < 1) continue;
    marks[size_t(m.Electrode)].push_back(m.Time);
    ++score.marks;
    if (std::find(deadChannels.begin(), deadChannels.end(), m.Electrode) != deadChannels.end()) ++score.deadMarks;
  }
  std::vector<std::vector<bool>> paired(kChannels + 1);
  for (int c = 0; c <= kChannels; ++c) paired[size_t(c)].assign(marks[size_t(c)].size(), false);
  std::vector<Activation> ordered = truth;
  std::stable_sort(ordered.begin(), ordered.end(), [](const Activation& a, const Activation& b) { return a.timeMs < b.timeMs; });
  for (const Activation& a : ordered) {
    ++score.activations;
    if (a.channel < kFirstElectrode || a.channel > kChannels) continue;
    const std::vector<int32_t>& times = marks[size_t(a.channel)];
    size_t best = times.size();
    int64_t bestDistance = std::numeric_limits<int64_t>::max();
    for (size_t k = 0; k < times.size(); ++k) {
      const int64_t distance = std::llabs(int64_t(times[k]) - a.timeMs);
      if (!paired[size_t(a.channel)][k] && distance <= kToleranceMs && distance < bestDistance) {
        best = k;
        bestDistance = distance;
      }
    }
    if (best == times.size()) continue;
    paired[size_t(a.channel)][best] = true;
    ++score.matched;
    score.errors.push_back(int32_t(int64_t(times[best]) - a.timeMs));
  }
  return score;
}

}  // namespace velmora
