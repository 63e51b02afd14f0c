// Opening the largest BDF a laboratory records (30 minutes of 256 channels at 512 Hz, about
// 700 MB) against one read() of its bytes, with the peak memory of the open beside the store;
// and the filter chain (notch, baseline, low-pass) over that store against one pass over it.
#include <benchmark/benchmark.h>

#include <edflib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "conditioning/FilterChain.h"
#include "conditioning/FilterRun.h"
#include "core/AnalysisState.h"
#include "core/ConsoleUi.h"
#include "core/DataRoot.h"
#include "core/SignalStore.h"
#include "input/AcquisitionReader.h"
#include "input/SampleRecording.h"
#include "FileReadBaseline.h"
#include "TemporaryFolder.h"

namespace velmora {
namespace {

constexpr int kSignals = 256, kRate = 512, kSeconds = 1800;

// Written once, on first use, with EDFlib: each channel a slow wave riding on an offset of
// its own, and a little noise, in 24 bits.
class LargestBdf {
 public:
  static const LargestBdf& Get() {
    static const LargestBdf bdf;
    return bdf;
  }
  const std::string& Path() const { return path_; }
  const std::string& Matrix() const { return matrix_; }
  const std::string& Folder() const { return folder_.Path(); }

 private:
  LargestBdf() : path_(folder_.File("largest.bdf")), matrix_(folder_.File("grid.txt")) {
    std::ofstream(matrix_) << SampleRecording::MatrixText(SampleSettings{});
    const int handle = edfopen_file_writeonly(path_.c_str(), EDFLIB_FILETYPE_BDFPLUS, kSignals);
    for (int s = 0; s < kSignals; ++s) {
      edf_set_samplefrequency(handle, s, kRate);
      edf_set_physical_maximum(handle, s, 262143);
      edf_set_physical_minimum(handle, s, -262144);
      edf_set_digital_maximum(handle, s, 8388607);
      edf_set_digital_minimum(handle, s, -8388608);
      edf_set_physical_dimension(handle, s, "uV");
    }
    std::vector<uint8_t> record(size_t(kSignals) * kRate * 3);
    uint32_t noise = 1;
    for (int second = 0; second < kSeconds; ++second) {
      for (int s = 0; s < kSignals; ++s)
        for (int k = 0; k < kRate; ++k) {
          noise = noise * 1664525u + 1013904223u;
          const int phase = (second * kRate + k + s * 37) % (20 * kRate);
          const int32_t value = (s - 128) * 20000 + (phase < kRate / 10 ? -32 * phase : 0) + int32_t(noise >> 27);
          uint8_t* at = record.data() + (size_t(s) * kRate + size_t(k)) * 3;
          at[0] = uint8_t(value), at[1] = uint8_t(value >> 8), at[2] = uint8_t(value >> 16);
        }
      edf_blockwrite_digital_3byte_samples(handle, record.data());
    }
    edfclose_file(handle);
  }

  bench::TemporaryFolder folder_;
  std::string path_, matrix_;
};

// Kilobytes of a "VmRSS:"-style line of /proc/self/status.
int64_t StatusKilobytes(const std::string& name) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind(name, 0) == 0) return std::stoll(line.substr(name.size()));
  return 0;
}

void BM_LargestBdfReadOneCall(benchmark::State& bench) { bench::FileReadBaseline::Run(bench, LargestBdf::Get().Path()); }

// The peak is the process's high-water mark over the open, reset before it (clear_refs 5),
// above what the process held before; the store of the previous round is released first.
void BM_LargestBdfOpen(benchmark::State& bench) {
  const LargestBdf& bdf = LargestBdf::Get();
  std::ostream nowhere(nullptr);
  ConsoleUi ui(nowhere);
  const DataRoot root((std::filesystem::path(bdf.Folder()) / "root").string());
  auto state = std::make_unique<AnalysisState>();
  state->DefaultMatrixFileName = bdf.Matrix();
  int64_t peak = 0;
  for (auto _ : bench) {
    bench.PauseTiming();
    SignalStore::Resize(*state, 0);
    std::ofstream("/proc/self/clear_refs") << "5";
    const int64_t before = StatusKilobytes("VmRSS:");
    bench.ResumeTiming();
    AcquisitionReader(*state, ui, root).Open(bdf.Path(), RecordingOpenOptions{false, false});
    benchmark::ClobberMemory();
    bench.PauseTiming();
    peak = std::max(peak, StatusKilobytes("VmHWM:") - before);
    bench.ResumeTiming();
  }
  const double store = double(state->Signals.size() * sizeof(int32_t)) / double(1 << 20);
  bench.counters["store_MiB"] = store;
  bench.counters["peak_MiB"] = double(peak) / 1024;
  bench.counters["peak_over_limit"] = (double(peak) / 1024) / (1.15 * store + 64);
  bench.SetBytesProcessed(int64_t(bench.iterations()) * int64_t(std::filesystem::file_size(bdf.Path())));
}

// The store of the largest BDF, loaded once.
AnalysisState& LoadedStore() {
  static const std::unique_ptr<AnalysisState> state = [] {
    const LargestBdf& bdf = LargestBdf::Get();
    std::ostream nowhere(nullptr);
    ConsoleUi ui(nowhere);
    const DataRoot root((std::filesystem::path(bdf.Folder()) / "root").string());
    auto loaded = std::make_unique<AnalysisState>();
    loaded->DefaultMatrixFileName = bdf.Matrix();
    AcquisitionReader(*loaded, ui, root).Open(bdf.Path(), RecordingOpenOptions{false, false});
    return loaded;
  }();
  return *state;
}

void BM_LargestBdfOnePassOverStore(benchmark::State& bench) {
  AnalysisState& s = LoadedStore();
  for (auto _ : bench) {
    for (int32_t& value : s.Signals) value += 1;
    benchmark::ClobberMemory();
  }
  bench.SetBytesProcessed(int64_t(bench.iterations()) * int64_t(s.Signals.size() * sizeof(int32_t)));
}

void BM_LargestBdfFilterChain(benchmark::State& bench) {
  AnalysisState& s = LoadedStore();
  FilterChain chain;
  FilterChain::Parse("notch:50:3,baseline:60,lowpass:30", chain);
  const FilterRun::Design design = FilterRun::Make(chain, s.SamplingF);
  std::vector<int> columns(kChannels);
  for (int c = 0; c < kChannels; ++c) columns[size_t(c)] = c;
  for (auto _ : bench) FilterRun::Apply(s.Signals.data(), s.SignalRows(), columns, design, [](double) { return true; });
  bench.SetBytesProcessed(int64_t(bench.iterations()) * int64_t(s.Signals.size() * sizeof(int32_t)));
}

BENCHMARK(BM_LargestBdfReadOneCall)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_LargestBdfOpen)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_LargestBdfOnePassOverStore)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_LargestBdfFilterChain)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

}  // namespace
}  // namespace velmora
