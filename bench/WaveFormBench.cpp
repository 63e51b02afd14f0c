// How long the core of a wave-form redraw of pane A takes: every electrode of the grid in
// its own cell, with a canvas that draws nothing.
#include <benchmark/benchmark.h>

#include "ElectrogramBenchRecording.h"
#include "NullCanvas.h"
#include "core/AnalysisState.h"
#include "maps/WaveFormDrawing.h"

namespace velmora {
namespace {

using bench::ElectrogramBenchRecording;

void RedrawWaveForms(benchmark::State& bench, int begin, int window, bool markAlign) {
  ElectrogramBenchRecording& recording = ElectrogramBenchRecording::Get();
  recording.ShowWindow(begin, window);
  AnalysisState& s = recording.State();
  s.WaveMarkAlign = markAlign;
  s.AverageOffset = true;
  bench::NullCanvas canvas;
  WaveFormDrawing drawing(s, canvas);
  for (auto _ : bench) drawing.DrawWaveForms();
  s.WaveMarkAlign = false;
}

void BM_WaveFormRedraw4000ms(benchmark::State& bench) { RedrawWaveForms(bench, 10000, 4000, false); }
void BM_WaveFormRedraw65000ms(benchmark::State& bench) { RedrawWaveForms(bench, 0, 65000, false); }
void BM_WaveFormRedrawMarkAligned4000ms(benchmark::State& bench) { RedrawWaveForms(bench, 10000, 4000, true); }

#define VELMORA_WAVE_FORM_BENCH(function) \
  BENCHMARK(function)->Unit(benchmark::kMicrosecond)->UseRealTime()->Repetitions(9)->ReportAggregatesOnly(true)
VELMORA_WAVE_FORM_BENCH(BM_WaveFormRedraw4000ms);
VELMORA_WAVE_FORM_BENCH(BM_WaveFormRedraw65000ms);
VELMORA_WAVE_FORM_BENCH(BM_WaveFormRedrawMarkAligned4000ms);

}  // namespace
}  // namespace velmora
