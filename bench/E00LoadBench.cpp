// How long opening the largest recording takes, against the plain cost of reading its bytes.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/AnalysisState.h"
#include "core/ConsoleUi.h"
#include "core/DataRoot.h"
#include "input/E00Reader.h"
#include "input/SampleRecording.h"

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
  ~LargestRecording() {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }

  const std::string& Folder() const { return folder_; }
  const SampleFiles& Files() const { return files_; }
  size_t Bytes() const { return size_t(std::filesystem::file_size(files_.recording)); }

 private:
  LargestRecording() {
    std::string pattern = (std::filesystem::temp_directory_path() / "velmora-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot make a temporary folder");
    folder_ = pattern;
    SampleSettings settings;
    settings.seconds = 65.535;
    files_ = SampleRecording::Write(settings, folder_);
  }

  std::string folder_;
  SampleFiles files_;
};

void BM_ReadFileOneCall(benchmark::State& bench) {
  const LargestRecording& recording = LargestRecording::Get();
  const size_t bytes = recording.Bytes();
  std::vector<char> buffer(bytes);
  for (auto _ : bench) {
    const int fd = ::open(recording.Files().recording.c_str(), O_RDONLY);
    const ssize_t n = ::read(fd, buffer.data(), bytes);
    ::close(fd);
    if (n != ssize_t(bytes)) bench.SkipWithError("short read");
    benchmark::DoNotOptimize(buffer.data());
    benchmark::ClobberMemory();
  }
  bench.SetBytesProcessed(int64_t(bench.iterations()) * int64_t(bytes));
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

