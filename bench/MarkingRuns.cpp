#include "MarkingRuns.h"

#include <cstdint>
#include <ostream>

#include "core/AnalysisState.h"
#include "core/ConsoleUi.h"
#include "marks/AutomaticMarking.h"

namespace velmora::bench {

void MarkingRuns::SummingPass(benchmark::State& bench, const AnalysisState& s) {
  for (auto _ : bench) {
    int64_t sum = 0;
    for (int row = 0; row < s.SignalRows(); ++row) {
      const int32_t* values = s.Signals.data() + size_t(row) * kChannels;
      for (int column = kFirstElectrode - 1; column < kChannels; ++column) sum += values[column];
    }
    benchmark::DoNotOptimize(sum);
  }
}

void MarkingRuns::AutomaticMarking(benchmark::State& bench, AnalysisState& s, int leastMarks) {
  std::ostream nowhere(nullptr);
  ConsoleUi ui(nowhere);
  velmora::AutomaticMarking marking(s, ui);
  for (auto _ : bench) {
    s.MarkCount = 0;
    marking.MarkAllSlowWaves();
    benchmark::DoNotOptimize(s.MarkCount);
  }
  if (s.MarkCount < leastMarks) bench.SkipWithError("too few marks found");
  bench.counters["marks"] = double(s.MarkCount);
}

}  // namespace velmora::bench
