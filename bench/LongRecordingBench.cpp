// A ten-minute recording of 256 channels (600,020 frames, about 300 MB), opened and marked,
// each against the plain cost of the same work: one read() of the file, one summing pass
// over the store. The recording is generated once into the system's temporary folder and
// kept for later runs; without the disk room for it the benchmarks skip.
#include <benchmark/benchmark.h>

#include <sys/statvfs.h>

#include <cstdint>
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
#include "MarkingRuns.h"

namespace velmora {
namespace {

constexpr double kSeconds = 600;

class TenMinuteRecording {
 public:
  static const TenMinuteRecording& Get() {
    static const TenMinuteRecording recording;
    return recording;
  }

  bool Ready() const { return ready_; }
  const std::string& Why() const { return why_; }
  const SampleFiles& Files() const { return files_; }
  std::string Folder() const { return folder_.string(); }
  int64_t Bytes() const { return int64_t(std::filesystem::file_size(files_.recording)); }

 private:
  TenMinuteRecording() : folder_(std::filesystem::temp_directory_path() / "velmora-bench-600s") {
    SampleSettings settings;
    settings.seconds = kSeconds;
    const int64_t bytes = SampleRecording::kHeaderBytes + SampleRecording::FramesAfterHeader(settings) * 512;
    files_.recording = (folder_ / "sample.E00").string();
    files_.matrix = (folder_ / "sample-matrix.txt").string();
    std::error_code error;
    if (std::filesystem::file_size(files_.recording, error) == uintmax_t(bytes) &&
        std::filesystem::exists(files_.matrix)) {
      ready_ = true;
      return;
    }
    std::filesystem::create_directories(folder_, error);
    struct statvfs disk {};
    // Twice the file: it is written beside itself and renamed.
    if (::statvfs(folder_.c_str(), &disk) != 0 || int64_t(disk.f_bavail) * int64_t(disk.f_frsize) < 3 * bytes) {
      why_ = "the temporary folder lacks the room for a " + std::to_string(bytes >> 20) + " MiB recording";
      return;
    }
    files_ = SampleRecording::Write(settings, folder_.string());
    ready_ = true;
  }

  std::filesystem::path folder_;
  SampleFiles files_;
  bool ready_ = false;
  std::string why_;
};

bool Skipped(benchmark::State& bench) {
  const TenMinuteRecording& recording = TenMinuteRecording::Get();
  if (recording.Ready()) return false;
  bench.SkipWithError(recording.Why().c_str());
  return true;
}

// The loaded recording the marking works on, loaded once.
AnalysisState& LoadedState() {
  static const std::unique_ptr<AnalysisState> state = [] {
    const TenMinuteRecording& recording = TenMinuteRecording::Get();
    auto s = std::make_unique<AnalysisState>();
    std::ostream nowhere(nullptr);
    ConsoleUi ui(nowhere);
    const DataRoot root((std::filesystem::path(recording.Folder()) / "root").string());
    s->DefaultMatrixFileName = recording.Files().matrix;
    E00Reader(*s, ui, root).Open(recording.Files().recording, RecordingOpenOptions{false, false});
    s->CurBegin = 0;
    s->CurWindow = s->SigLength;
    s->MarkType[0] = kSlowWave;
    return s;
  }();
  return *state;
}

void BM_TenMinutesReadFileOneCall(benchmark::State& bench) {
  if (Skipped(bench)) return;
  bench::FileReadBaseline::Run(bench, TenMinuteRecording::Get().Files().recording);
}

void BM_TenMinutesOpenLoadSmoothed(benchmark::State& bench) {
  if (Skipped(bench)) return;
  const TenMinuteRecording& recording = TenMinuteRecording::Get();
  std::ostream nowhere(nullptr);
  ConsoleUi ui(nowhere);
  const DataRoot root((std::filesystem::path(recording.Folder()) / "root").string());
  auto state = std::make_unique<AnalysisState>();
  state->DefaultMatrixFileName = recording.Files().matrix;
  state->SmoothElectrograms = true;
  E00Reader reader(*state, ui, root);
  for (auto _ : bench) {
    reader.Open(recording.Files().recording, RecordingOpenOptions{false, false});
    benchmark::DoNotOptimize(state->Signals.data());
    benchmark::ClobberMemory();
  }
  if (state->SignalRows() != 600000) bench.SkipWithError("the store does not hold the whole recording");
  bench.SetBytesProcessed(int64_t(bench.iterations()) * recording.Bytes());
}

void BM_TenMinutesSummingPass(benchmark::State& bench) {
  if (!Skipped(bench)) bench::MarkingRuns::SummingPass(bench, LoadedState());
}

void BM_TenMinutesAutomaticMarking(benchmark::State& bench) {
  if (!Skipped(bench)) bench::MarkingRuns::AutomaticMarking(bench, LoadedState());
}

BENCHMARK(BM_TenMinutesReadFileOneCall)
    ->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_TenMinutesOpenLoadSmoothed)
    ->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_TenMinutesSummingPass)
    ->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_TenMinutesAutomaticMarking)
    ->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
}  // namespace velmora
