// The automatic markings over half an hour of 256 channels (1.8 million rows, 1.8 GB), each
// against one plain summing pass over the same store, in one run. The store repeats a generated
// 65 s recording with the impairments of real ones (noise, mains, drift, motion artifacts),
// opened smoothed as the workbench opens it.
#include <benchmark/benchmark.h>

#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <ostream>
#include <stdexcept>
#include <system_error>

#include "core/AnalysisState.h"
#include "core/ConsoleUi.h"
#include "core/DataRoot.h"
#include "input/E00Reader.h"
#include "input/SampleRecording.h"
#include "marks/AutomaticMarking.h"
#include "MarkingRuns.h"

namespace velmora {
namespace {

constexpr int kRows = 30 * 60 * 1000;

std::unique_ptr<AnalysisState> ShortRecording() {
  std::string pattern = (std::filesystem::temp_directory_path() / "velmora-bench-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot make a temporary folder");
  SampleSettings settings;
  settings.seconds = 65.535;
  settings.impairments = {.noiseUv = 60, .mainsUv = 100, .driftUv = 3000, .artifactsPerMinute = 2};
  const SampleFiles files = SampleRecording::Write(settings, pattern);
  std::ostream nowhere(nullptr);
  ConsoleUi ui(nowhere);
  auto state = std::make_unique<AnalysisState>();
  state->DefaultMatrixFileName = files.matrix;
  E00Reader(*state, ui, DataRoot(pattern + "/root")).Open(files.recording, RecordingOpenOptions{false, false});
  std::error_code ignored;
  std::filesystem::remove_all(pattern, ignored);
  return state;
}

AnalysisState& HalfHour() {
  static const std::unique_ptr<AnalysisState> state = [] {
    const std::unique_ptr<AnalysisState> shortOne = ShortRecording();
    auto s = std::make_unique<AnalysisState>();
    s->Signals.resize(size_t(kRows) * kChannels);
    const size_t shortValues = size_t(shortOne->SigLength) * kChannels;
    for (size_t done = 0; done < s->Signals.size(); done += shortValues) {
      const size_t count = std::min(shortValues, s->Signals.size() - done);
      std::copy_n(shortOne->Signals.begin(), count, s->Signals.begin() + ptrdiff_t(done));
    }
    s->SignalsChanged();
    s->SigLength = kRows;
    s->SamplingF = 1000;
    s->SignalLookAhead = shortOne->SignalLookAhead;
    s->CurBegin = 0;
    s->CurWindow = kRows;
    s->MarkType[0] = kSlowWave;
    return s;
  }();
  return *state;
}

void BM_HalfHourSummingPass(benchmark::State& bench) { bench::MarkingRuns::SummingPass(bench, HalfHour()); }

void BM_HalfHourDescribedMarking(benchmark::State& bench) {
  // The drift keeps the threshold method from finding much here; its cost is the same.
  HalfHour().DetectionMethod = AutomaticMarking::kThresholdMethod;
  bench::MarkingRuns::AutomaticMarking(bench, HalfHour(), 0);
}

void BM_HalfHourRobustMarking(benchmark::State& bench) {
  HalfHour().DetectionMethod = AutomaticMarking::kRobustMethod;
  bench::MarkingRuns::AutomaticMarking(bench, HalfHour());
}

BENCHMARK(BM_HalfHourSummingPass)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_HalfHourDescribedMarking)
    ->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_HalfHourRobustMarking)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
}  // namespace velmora
