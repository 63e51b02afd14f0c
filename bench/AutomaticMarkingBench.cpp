// How long the automatic marking (a first run on an empty store, and a second run over the
// first's marks) and the amplitude computation take, each against one plain pass over the
// samples it has to read.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <ostream>
#include <random>

#include "core/AnalysisState.h"
#include "core/ConsoleUi.h"
#include "core/Limits.h"
#include "marks/AmplitudeCalculation.h"
#include "marks/AutomaticMarking.h"
#include "marks/MarkStore.h"
#include "MarkingRuns.h"

namespace velmora {
namespace {

constexpr int kBenchMarks = 10000;

// A full store: every electrode carries noise and a slow wave every 20 s, so the marking
// finds something on each channel and the amplitude windows hold real falls.
class FullStore {
 public:
  static FullStore& Get() {
    static FullStore store;
    return store;
  }
  AnalysisState& State() { return *state_; }

 private:
  FullStore() : state_(std::make_unique<AnalysisState>()) {
    AnalysisState& s = *state_;
    std::mt19937 random(3);
    std::normal_distribution<double> noise(0, 40);
    for (int row = 0; row < kStartSignalRows; ++row)
      for (int channel = 1; channel <= kChannels; ++channel) {
        const int phase = (row + 37 * channel) % 20000;
        const int wave = phase < 300 ? -3000 * phase / 300 : phase < 3000 ? -3000 + (phase - 300) : 0;
        s.Signal(row, channel - 1) = wave + int(noise(random));
      }
    s.SigLength = kStartSignalRows;
    s.SamplingF = 1000;
    s.CurBegin = 0;
    s.CurWindow = kStartSignalRows;
    s.MarkType[0] = kSlowWave;
  }
  std::unique_ptr<AnalysisState> state_;
};

// Channel e gets marks k = 0, 1, ... spread over the recording.
void AddBenchMarks(AnalysisState& s) {
  s.MarkCount = 0;
  for (int n = 0; n < kBenchMarks; ++n) {
    s.PointerChannel = kFirstElectrode + n % (kChannels - kFirstElectrode + 1);
    MarkStore::AddMarkRecord(s, 1 + int((int64_t(n) * 7919) % (kStartSignalRows - 1)), kSlowWave);
  }
}

void BM_PlainSumPass(benchmark::State& bench) { bench::MarkingRuns::SummingPass(bench, FullStore::Get().State()); }

void BM_AutomaticMarking(benchmark::State& bench) {
  bench::MarkingRuns::AutomaticMarking(bench, FullStore::Get().State());
}

// A second run over the marks of the first: every detection meets the avoid-twice check.
void BM_AutomaticMarkingAgain(benchmark::State& bench) {
  AnalysisState& s = FullStore::Get().State();
  std::ostream nowhere(nullptr);
  ConsoleUi ui(nowhere);
  AutomaticMarking marking(s, ui);
  s.MarkCount = 0;
  s.AvoidDoubleMarks = true;
  marking.MarkAllSlowWaves();
  const int32_t firstRun = s.MarkCount;
  for (auto _ : bench) {
    s.MarkCount = firstRun;
    marking.MarkAllSlowWaves();
    benchmark::DoNotOptimize(s.MarkCount);
  }
  if (s.MarkCount != firstRun) bench.SkipWithError("the second run added marks");
  bench.counters["marks"] = double(s.MarkCount);
}

void BM_AmplitudePass(benchmark::State& bench) {
  AnalysisState& s = FullStore::Get().State();
  AddBenchMarks(s);
  for (auto _ : bench) {
    int64_t sum = 0;
    for (int n = 1; n <= s.MarkCount; ++n) {
      const MarkRecord& mark = s.Mark(n);
      const int from = std::max(mark.Time - 500, 1), to = std::min(mark.Time + 500, s.SigLength);
      const int32_t* column = s.Signals.data() + (mark.Electrode - 1);
      for (int sample = from; sample <= to; ++sample) sum += column[size_t(sample - 1) * kChannels];
    }
    benchmark::DoNotOptimize(sum);
  }
}

void BM_CalcAmplitudes(benchmark::State& bench) {
  AnalysisState& s = FullStore::Get().State();
  AddBenchMarks(s);
  for (auto _ : bench) {
    AmplitudeCalculation::CalcAmplitudes(s);
    benchmark::DoNotOptimize(s.MarkAmplitudes.data());
    benchmark::ClobberMemory();
  }
  if (s.MarkAmplitudes[0].Electrode == kNoValue) bench.SkipWithError("no amplitude computed");
}

BENCHMARK(BM_PlainSumPass)
    ->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_AutomaticMarking)
    ->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_AutomaticMarkingAgain)
    ->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_AmplitudePass)
    ->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_CalcAmplitudes)
    ->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(9)->ReportAggregatesOnly(true);

}  // namespace
}  // namespace velmora
