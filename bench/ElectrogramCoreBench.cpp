// How long the core of an electrogram pane redraw takes: reading the samples, the offsets,
// the points and the marks, with a canvas that draws nothing.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "ElectrogramBenchRecording.h"
#include "NullCanvas.h"
#include "core/AnalysisState.h"
#include "core/Canvas.h"
#include "marks/ElectrogramDrawing.h"

namespace velmora {
namespace {

using bench::ElectrogramBenchRecording;
using bench::NullCanvas;

// A pane redrawn again and again with the same drawing, as the workbench keeps one per pane.
void RedrawCore(benchmark::State& bench, int begin, int window) {
  ElectrogramBenchRecording& recording = ElectrogramBenchRecording::Get();
  recording.ShowWindow(begin, window);
  NullCanvas canvas;
  ElectrogramDrawing drawing(recording.State(), canvas);
  for (auto _ : bench) drawing.DrawElectrograms();
}

// The first redraw after the samples changed (a recording was loaded): nothing worked out
// from the samples is of use any more.
void RedrawAfterNewSamples(benchmark::State& bench, int begin, int window) {
  ElectrogramBenchRecording& recording = ElectrogramBenchRecording::Get();
  recording.ShowWindow(begin, window);
  NullCanvas canvas;
  ElectrogramDrawing drawing(recording.State(), canvas);
  for (auto _ : bench) {
    recording.State().SignalsChanged();
    drawing.DrawElectrograms();
  }
}

// A drawing made for one picture only, as the command-line tool does, buffers and all.
void DrawOnce(benchmark::State& bench, int begin, int window) {
  ElectrogramBenchRecording& recording = ElectrogramBenchRecording::Get();
  recording.ShowWindow(begin, window);
  NullCanvas canvas;
  for (auto _ : bench) ElectrogramDrawing(recording.State(), canvas).DrawElectrograms();
}

void BM_CoreRedraw4000ms(benchmark::State& bench) { RedrawCore(bench, 10000, 4000); }
void BM_CoreRedraw65000ms(benchmark::State& bench) { RedrawCore(bench, 0, 65000); }
void BM_CoreRedrawAfterNewSamples4000ms(benchmark::State& bench) { RedrawAfterNewSamples(bench, 10000, 4000); }
void BM_CoreRedrawAfterNewSamples65000ms(benchmark::State& bench) { RedrawAfterNewSamples(bench, 0, 65000); }
void BM_CoreDrawOnce4000ms(benchmark::State& bench) { DrawOnce(bench, 10000, 4000); }
void BM_CoreDrawOnce65000ms(benchmark::State& bench) { DrawOnce(bench, 0, 65000); }

#define VELMORA_CORE_DRAW_BENCH(function) \
  BENCHMARK(function)->Unit(benchmark::kMicrosecond)->UseRealTime()->Repetitions(9)->ReportAggregatesOnly(true)
VELMORA_CORE_DRAW_BENCH(BM_CoreRedraw4000ms);
VELMORA_CORE_DRAW_BENCH(BM_CoreRedraw65000ms);
VELMORA_CORE_DRAW_BENCH(BM_CoreRedrawAfterNewSamples4000ms);
VELMORA_CORE_DRAW_BENCH(BM_CoreRedrawAfterNewSamples65000ms);
VELMORA_CORE_DRAW_BENCH(BM_CoreDrawOnce4000ms);
VELMORA_CORE_DRAW_BENCH(BM_CoreDrawOnce65000ms);

}  // namespace
}  // namespace velmora
