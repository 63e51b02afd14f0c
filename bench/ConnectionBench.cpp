// How long "Make Connections" over 24 traces of 2,000 marks each takes, against one pass over
// the same mark store.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <memory>

#include "core/AnalysisState.h"
#include "maps/ConnectionMaking.h"

namespace velmora {
namespace {

constexpr int kTraces = 24;
constexpr int kMarksPerTrace = 2000;

// Slow waves crossing 24 sequential traces, marked wave by wave as a researcher clicks through
// them: the store holds 48,000 marks, more than the 32,767 a mark file takes today, so the
// store is grown for the measurement.
std::unique_ptr<AnalysisState> ConnectionState() {
  auto s = std::make_unique<AnalysisState>();
  s->Marks.resize(size_t(kTraces) * kMarksPerTrace);
  s->TraceOrder = 0;
  s->FirstChannel = 17;
  s->NrTraces = kTraces;
  s->CurBegin = 0;
  s->CurWindow = 64000;
  for (int wave = 0; wave < kMarksPerTrace; ++wave) {
    for (int trace = 0; trace < kTraces; ++trace) {
      MarkRecord& mark = s->Mark(++s->MarkCount);
      mark.Electrode = uint16_t(17 + trace);
      mark.Kind = kSlowWave;
      mark.Time = wave * 30 + trace;
    }
  }
  return s;
}

// The least a run must do: read every mark's time, electrode and kind once. The sum keeps the
// reads from being dropped.
void BM_ConnectionStorePass48000Marks(benchmark::State& bench) {
  const std::unique_ptr<AnalysisState> s = ConnectionState();
  for (auto _ : bench) {
    const MarkRecord* store = s->Marks.data();
    int64_t sum = 0;
    for (int i = 0, count = s->MarkCount; i < count; ++i)
      sum += int64_t(store[i].Time) + store[i].Electrode + store[i].Kind;
    benchmark::DoNotOptimize(sum);
  }
}

void BM_MakeConnections24x2000Marks(benchmark::State& bench) {
  const std::unique_ptr<AnalysisState> s = ConnectionState();
  ConnectionMaking maker;
  // Each run starts from unconnected marks; the reset is left out of the time by timing the
  // run alone (pausing the benchmark's clocks costs more than a short run takes).
  for (auto _ : bench) {
    for (int n = 1; n <= s->MarkCount; ++n) s->Mark(n).Connected = 0;
    s->ConnectionCount = 0;
    const auto start = std::chrono::steady_clock::now();
    benchmark::DoNotOptimize(maker.MakeConnections(*s));
    bench.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  int connected = 0;
  for (int n = 1; n <= s->MarkCount; ++n) connected += s->Mark(n).Connected;
  if (connected != (kTraces - 1) * kMarksPerTrace) bench.SkipWithError("every mark but the last trace's connects");
}

BENCHMARK(BM_ConnectionStorePass48000Marks)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(BM_MakeConnections24x2000Marks)->UseManualTime()->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly();

}  // namespace
}  // namespace velmora
