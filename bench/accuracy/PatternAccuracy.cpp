// How often the propagation pattern of a generated wave is found: recordings of every pattern
// (16 x 15 electrodes 4 mm apart, 10 mm/s, 5 ms timing noise, 3 dead electrodes, ten seeds
// of five minutes each), marked at their recorded times, grouped into waves and tabled. Prints
// the confusion table: the true pattern by row, the pattern found by column.
#include <array>
#include <cstdio>
#include <map>
#include <memory>
#include <string>

#include "core/AnalysisState.h"
#include "input/SampleRecording.h"
#include "results/WaveTable.h"
#include "waves/WaveSearch.h"

namespace {

using namespace velmora;

constexpr int kSeeds = 10;
constexpr int kTrue = 5, kFound = PropagationPattern::kPatterns;

// The generated wave most of a row's activations belong to.
int TruthWave(const WaveTable& table, const WaveRow& row, const std::map<std::pair<int, int32_t>, int>& waveOf) {
  std::map<int, int> votes;
  for (const WaveMarkRow& m : table.Marks()) {
    if (m.wave != row.wave) continue;
    const auto found = waveOf.find({m.electrode, m.timeMs});
    if (found != waveOf.end()) ++votes[found->second];
  }
  int best = -1, most = 0;
  for (const auto& [wave, count] : votes)
    if (count > most) best = wave, most = count;
  return best;
}

void Count(SamplePatterns::Choice choice, uint32_t seed, std::array<std::array<int, kFound>, kTrue>& confusion,
           int& unmatched) {
  SampleSettings settings;
  settings.seed = seed;
  settings.seconds = 300;
  settings.speedMmPerS = 10;
  settings.jitterMs = 5;
  settings.pattern = choice;
  const std::vector<Activation> truth = SampleRecording::ActivationTimes(settings);
  auto state = std::make_unique<AnalysisState>();
  AnalysisState& s = *state;
  SetDefaults(s);
  s.NrCols = settings.cols, s.NrRows = settings.rows, s.ElectrodeDistance = settings.spacingMm;
  s.ActivePane = 1, s.MarkType = {1, 1}, s.SigLength = SampleRecording::StoreRows(settings);
  for (int row = 1; row <= settings.rows; ++row)
    for (int col = 1; col <= settings.cols; ++col) {
      const int channel = 17 + (row - 1) * settings.cols + col - 1;
      s.ElectrodeX[size_t(channel - 1)] = col, s.ElectrodeY[size_t(channel - 1)] = row;
    }
  std::map<std::pair<int, int32_t>, int> waveOf;
  for (const Activation& a : truth) {
    MarkRecord& m = s.Mark(++s.MarkCount);
    m = MarkRecord{};
    m.Electrode = uint16_t(a.channel), m.Kind = kSlowWave, m.Time = a.timeMs;
    waveOf[{a.channel, a.timeMs}] = a.wave;
  }
  WaveSearch search;
  search.CalculateWaves(s);
  const WaveTable table = WaveTable::Build(s, search, {4, settings.directionDeg});
  const int waves = truth.back().wave + 1;
  unmatched += waves - int(table.Rows().size());
  for (const WaveRow& row : table.Rows()) {
    const int wave = TruthWave(table, row, waveOf);
    if (wave < 0) continue;
    ++confusion[size_t(SamplePatterns::PatternOf(settings, wave, waves))][size_t(row.pattern)];
  }
}

}  // namespace

int main() {
  std::array<std::array<int, kFound>, kTrue> confusion{};
  int unmatched = 0;
  for (const auto choice : {SamplePatterns::Choice::Normal, SamplePatterns::Choice::Retrograde,
                            SamplePatterns::Choice::Ectopic, SamplePatterns::Choice::Collision,
                            SamplePatterns::Choice::Block, SamplePatterns::Choice::Mix})
    for (uint32_t seed = 1; seed <= kSeeds; ++seed) Count(choice, seed, confusion, unmatched);
  std::printf("| true \\ found |");
  for (int f = 0; f < kFound; ++f) std::printf(" %s |", PropagationPattern::Name(Pattern(f)));
  std::printf(" right |\n|---|---|---|---|---|---|---|---|\n");
  for (int t = 0; t < kTrue; ++t) {
    int all = 0;
    for (const int n : confusion[size_t(t)]) all += n;
    std::printf("| %s |", SamplePatterns::Name(SamplePatterns::Pattern(t)));
    for (const int n : confusion[size_t(t)]) std::printf(" %d |", n);
    std::printf(" %.1f %% |\n", all ? 100.0 * confusion[size_t(t)][size_t(t)] / all : 0.0);
  }
  std::printf("generated waves without a row of their own: %d\n", unmatched);
}
