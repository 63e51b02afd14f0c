// The whole-recording window of a ten-minute recording, drawn as column spans, against the
// 65 s window of the benchmark recording: the core of the redraw, with a canvas that draws
// nothing. The ratio of the two is the figure to watch (at most 2).
#include <benchmark/benchmark.h>

#include "ElectrogramBenchRecording.h"
#include "LongBenchRecording.h"
#include "NullCanvas.h"
#include "marks/ElectrogramDrawing.h"

namespace velmora {
namespace {

using bench::ElectrogramBenchRecording;
using bench::LongBenchRecording;
using bench::NullCanvas;

void BM_CoreRedrawWhole65s(benchmark::State& bench) {
  ElectrogramBenchRecording& recording = ElectrogramBenchRecording::Get();
  recording.ShowWindow(0, recording.State().SigLength);
  NullCanvas canvas;
  ElectrogramDrawing drawing(recording.State(), canvas);
  for (auto _ : bench) drawing.DrawElectrograms();
}

void BM_CoreRedrawWhole10min(benchmark::State& bench) {
  LongBenchRecording& recording = LongBenchRecording::Get();
  recording.ShowWholeRecording();
  NullCanvas canvas;
  ElectrogramDrawing drawing(recording.State(), canvas);
  for (auto _ : bench) drawing.DrawElectrograms();
}

// The first redraw of the long recording after a load: the block extremes of its 24 traces
// are worked out from the store.
void BM_CoreFirstDrawWhole10min(benchmark::State& bench) {
  LongBenchRecording& recording = LongBenchRecording::Get();
  recording.ShowWholeRecording();
  NullCanvas canvas;
  ElectrogramDrawing drawing(recording.State(), canvas);
  for (auto _ : bench) {
    recording.State().SignalsChanged();
    drawing.DrawElectrograms();
  }
}

// Each redraw a window not drawn just before, as when the user pages: the whole recording and
// its second half in turn, so the spans are worked out anew every time.
void BM_CoreRedrawNewWindow10min(benchmark::State& bench) {
  LongBenchRecording& recording = LongBenchRecording::Get();
  recording.ShowWholeRecording();
  AnalysisState& s = recording.State();
  NullCanvas canvas;
  ElectrogramDrawing drawing(s, canvas);
  for (auto _ : bench) {
    s.CurBegin = s.CurBegin == 0 ? LongBenchRecording::kRows / 2 : 0;
    s.CurWindow = LongBenchRecording::kRows - s.CurBegin;
    drawing.DrawElectrograms();
  }
}

#define VELMORA_LONG_WINDOW_BENCH(function) \
  BENCHMARK(function)->Unit(benchmark::kMicrosecond)->UseRealTime()->Repetitions(9)->ReportAggregatesOnly(true)
VELMORA_LONG_WINDOW_BENCH(BM_CoreRedrawWhole65s);
VELMORA_LONG_WINDOW_BENCH(BM_CoreRedrawWhole10min);
VELMORA_LONG_WINDOW_BENCH(BM_CoreRedrawNewWindow10min);
BENCHMARK(BM_CoreFirstDrawWhole10min)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace
}  // namespace velmora
