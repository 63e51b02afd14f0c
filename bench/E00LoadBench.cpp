// How long opening the largest recording takes, against the plain cost of reading its bytes.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <ostream>
#include <string>

#include "core/AnalysisState.h"
#include "core/ConsoleUi.h"
#include "core/DataRoot.h"
#include "input/E00Reader.h"
#include "input/SampleRecording.h"
#include "FileReadBaseline.h"
#include "TemporaryFolder.h"

namespace velmora {
namespace {

// The largest recording the store takes: 65,535 rows, i.e. 65,555 frames after the header.
// It is written once, on first use, and removed when the run ends.
class LargestRecording {
 public:
  static const LargestRecording& Get() {
    static const LargestRecording recording;
    return recording;
  }

  const std::string& Folder() const { return folder_.Path(); }
  const SampleFiles& Files() const { return files_; }
  size_t Bytes() const { return size_t(std::filesystem::file_size(files_.recording)); }

 private:
  LargestRecording() {
    SampleSettings settings;
    settings.seconds = 65.535;
    files_ = SampleRecording::Write(settings, folder_.Path());
  }

  bench::TemporaryFolder folder_;
  SampleFiles files_;
};

void BM_ReadFileOneCall(benchmark::State& bench) {
  bench::FileReadBaseline::Run(bench, LargestRecording::Get().Files().recording);
}

void OpenAndLoad(benchmark::State& bench, bool smooth) {
  const LargestRecording& recording = LargestRecording::Get();
  std::ostream nowhere(nullptr);
  ConsoleUi ui(nowhere);
  const DataRoot root((std::filesystem::path(recording.Folder()) / "root").string());
  auto state = std::make_unique<AnalysisState>();
  state->DefaultMatrixFileName = recording.Files().matrix;
  state->SmoothElectrograms = smooth;
  E00Reader reader(*state, ui, root);
  for (auto _ : bench) {
    reader.Open(recording.Files().recording, RecordingOpenOptions{false, false});
    benchmark::DoNotOptimize(state->Signals.data());
    benchmark::ClobberMemory();
  }
  if (reader.RowsToFill() != 65535) bench.SkipWithError("the store was not filled");
  bench.SetBytesProcessed(int64_t(bench.iterations()) * int64_t(recording.Bytes()));
}

void BM_OpenLoadSmoothed(benchmark::State& bench) { OpenAndLoad(bench, true); }
void BM_OpenLoadRaw(benchmark::State& bench) { OpenAndLoad(bench, false); }

BENCHMARK(BM_ReadFileOneCall)
    ->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_OpenLoadSmoothed)
    ->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_OpenLoadRaw)
    ->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(9)->ReportAggregatesOnly(true);

}  // namespace
}  // namespace velmora

