#pragma once

#include <benchmark/benchmark.h>

namespace velmora {
struct AnalysisState;
}

namespace velmora::bench {

// The automatic marking and its plain counterpart, as the marking benchmarks time them.
class MarkingRuns {
 public:
  // One pass adding up the electrodes' samples of every row of the store.
  static void SummingPass(benchmark::State& bench, const AnalysisState& state);
  // A first marking run on an empty store, again and again; too few marks make it an error.
  static void AutomaticMarking(benchmark::State& bench, AnalysisState& state, int leastMarks = 240);
};

}  // namespace velmora::bench
