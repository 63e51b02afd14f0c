// How long grouping a whole recording's marks into waves takes, against std::sort of the same
// (time, channel) pairs, measured side by side.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <random>
#include <utility>
#include <vector>

#include "core/AnalysisState.h"
#include "core/Limits.h"
#include "waves/WaveSearch.h"

namespace velmora {
namespace {

constexpr int kCols = 16, kRows = 15;
constexpr int kWaves = 199;
constexpr int kPeriodMs = 315;        // every wave starts before the 64,000 ms limit
constexpr int kColumnStepMs = 10;     // the wave runs along the rows
constexpr int kBrokenColumnShiftMs = 150;

// A 16 x 15 grid with `waves` waves, one mark per electrode per wave, stored channel by
// channel as the automatic marking stores them. In every seventh wave one column fires late,
// which breaks that wave into three. The workbench's store holds 32,767 marks; the 199 waves
// need 47,760, so this state's store is made larger: the search reads marks by number only.
std::unique_ptr<AnalysisState> WaveState(int waves) {
  auto s = std::make_unique<AnalysisState>();
  SetDefaults(*s);
  s->NrCols = kCols;
  s->NrRows = kRows;
  s->ActivePane = 1;
  s->MarkType = {1, 1};
  s->WaveDifference[0] = 100;
  s->Marks.resize(size_t(kCols) * kRows * size_t(waves));
  std::mt19937 random(7);
  for (int col = 1; col <= kCols; ++col)
    for (int row = 1; row <= kRows; ++row) {
      const int channel = kFirstElectrode + (col - 1) * kRows + (row - 1);
      s->ElectrodeX[size_t(channel - 1)] = col;
      s->ElectrodeY[size_t(channel - 1)] = row;
      for (int wave = 0; wave < waves; ++wave) {
        const bool late = wave % 7 == 3 && col == 8;
        MarkRecord& m = s->Mark(++s->MarkCount);
        m.Electrode = uint16_t(channel);
        m.Kind = kSlowWave;
        m.Time = 1000 + wave * kPeriodMs + (col - 1) * kColumnStepMs + int(random() % 5) +
                 (late ? kBrokenColumnShiftMs : 0);
      }
    }
  return s;
}

std::vector<std::pair<int32_t, int32_t>> TimeChannelPairs(const AnalysisState& s) {
  std::vector<std::pair<int32_t, int32_t>> pairs;
  pairs.reserve(size_t(s.MarkCount));
  for (int n = 1; n <= s.MarkCount; ++n) pairs.emplace_back(s.Mark(n).Time, s.Mark(n).Electrode);
  return pairs;
}

void BM_WaveCalculation(benchmark::State& bench) {
  const std::unique_ptr<AnalysisState> s = WaveState(int(bench.range(0)));
  const auto search = std::make_unique<WaveSearch>();
  for (auto _ : bench) {
    search->CalculateWaves(*s);
    benchmark::DoNotOptimize(s->NrWaves);
  }
  bench.counters["marks"] = s->MarkCount;
  bench.counters["waves"] = s->NrWaves;
}

void BM_SortTimeChannelPairs(benchmark::State& bench) {
  const std::unique_ptr<AnalysisState> s = WaveState(int(bench.range(0)));
  const std::vector<std::pair<int32_t, int32_t>> stored = TimeChannelPairs(*s);
  std::vector<std::pair<int32_t, int32_t>> pairs;
  for (auto _ : bench) {
    bench.PauseTiming();
    pairs = stored;
    bench.ResumeTiming();
    std::sort(pairs.begin(), pairs.end());
    benchmark::DoNotOptimize(pairs.data());
  }
  bench.counters["marks"] = s->MarkCount;
}

// 199 waves (47,760 marks), and the 136 waves whose 32,640 marks fit the workbench's store.
BENCHMARK(BM_WaveCalculation)->Arg(kWaves)->Arg(136)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SortTimeChannelPairs)->Arg(kWaves)->Arg(136)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace velmora
