// How long the "to Mac" electrogram copy of the whole largest recording takes, against the
// least any text export of the same samples must do: write each value as digits once.
#include <benchmark/benchmark.h>

#include <string>

#include "ElectrogramBenchRecording.h"
#include "core/AnalysisState.h"
#include "core/Limits.h"
#include "output/MacExport.h"

#include <fmt/format.h>

namespace velmora {
namespace {

constexpr int kTraces = kChannels - kFirstElectrode + 1;

AnalysisState& WholeRecordingPane() {
  AnalysisState& s = bench::ElectrogramBenchRecording::Get().State();
  s.TraceOrder = 0;
  s.FirstChannel = kFirstElectrode;
  s.NrTraces = kTraces;
  s.CurBegin = 0;
  s.CurWindow = s.SigLength;
  s.SamplingFChanged = false;
  return s;
}

void BM_SampleDigitsOnly(benchmark::State& bench) {
  const AnalysisState& s = WholeRecordingPane();
  for (auto _ : bench) {
    std::string text;
    for (int row = 0; row < s.SigLength; ++row) {
      for (int channel = kFirstElectrode; channel <= kChannels; ++channel) {
        const fmt::format_int digits(s.Signal(row, channel - 1));
        text.append(digits.data(), digits.size());
        text.push_back('\n');
      }
    }
    benchmark::DoNotOptimize(text.data());
  }
}

void BM_CopySignalsToMacWholeRecording(benchmark::State& bench) {
  AnalysisState& s = WholeRecordingPane();
  for (auto _ : bench) {
    const std::string text = MacExport::SignalsText(s);
    benchmark::DoNotOptimize(text.data());
  }
}

BENCHMARK(BM_SampleDigitsOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CopySignalsToMacWholeRecording)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace velmora
