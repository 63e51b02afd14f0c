// The full redraw of the whole-recording window on the workbench's canvas, 24 traces on a
// 1600 x 900 pane buffer: a ten-minute recording (column spans) beside the 65 s one.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>

#include "../ElectrogramBenchRecording.h"
#include "../LongBenchRecording.h"
#include "marks/ElectrogramDrawing.h"
#include "ui/QtCanvas.h"

namespace velmora {
namespace {

void RedrawOn(benchmark::State& bench, AnalysisState& state) {
  QImage image(1600, 900, QImage::Format_RGB32);
  QPainter painter(&image);
  QtCanvas canvas(painter);
  ElectrogramDrawing drawing(state, canvas);
  for (auto _ : bench) drawing.DrawElectrograms();
}

void BM_FullRedrawWhole65s(benchmark::State& bench) {
  bench::ElectrogramBenchRecording& recording = bench::ElectrogramBenchRecording::Get();
  recording.ShowWindow(0, recording.State().SigLength);
  RedrawOn(bench, recording.State());
}

void BM_FullRedrawWhole10min(benchmark::State& bench) {
  bench::LongBenchRecording& recording = bench::LongBenchRecording::Get();
  recording.ShowWholeRecording();
  RedrawOn(bench, recording.State());
}

BENCHMARK(BM_FullRedrawWhole65s)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_FullRedrawWhole10min)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(9)->ReportAggregatesOnly(true);

}  // namespace
}  // namespace velmora
