// How long filling a time map from a full mark store takes, against one pass over the store.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "MapBenchState.h"
#include "core/AnalysisState.h"
#include "core/Limits.h"
#include "maps/MapComputation.h"
#include "maps/MapDrawing.h"

namespace velmora {
namespace {

using bench::FullMapState;

// The least any map fill must do: look at every mark once.
void BM_MarkStorePass(benchmark::State& bench) {
  const std::unique_ptr<AnalysisState> s = FullMapState();
  for (auto _ : bench) {
    int64_t sum = 0;
    for (int n = 1; n <= s->MarkCount; ++n) {
      const MarkRecord& m = s->Mark(n);
      if (m.Kind == kSlowWave && m.Visible == 1 && m.Time >= s->MapBegin) sum += m.Electrode + m.Time;
    }
    benchmark::DoNotOptimize(sum);
  }
}

void BM_TimeMapFill32767Marks(benchmark::State& bench) {
  const std::unique_ptr<AnalysisState> s = FullMapState();
  for (auto _ : bench) {
    MapComputation::FillMapGrid(*s);
    benchmark::DoNotOptimize(s->Cell(bench::kMapCols, bench::kMapRows).Value);
  }
  if (s->MapMarkCount != bench::kMapCells) bench.SkipWithError("every cell should hold a time");
}

#ifndef VELMORA_BENCH_QT
// Without Qt the drawing goes to a canvas that only counts, so the pair shows what the fill
// adds to a redraw; the Qt build measures the same on a real back buffer instead.
class CountingCanvas : public Canvas {
 public:
  void SetPen(Colour, int, PenMode) override {}
  void SetBrush(Colour, BrushStyle) override {}
  void SetFont(Colour, FontStyle) override {}
  void Line(int, int, int, int) override { ++count; }
  void Polyline(const std::vector<Point>& points) override { count += int64_t(points.size()); }
  void Rectangle(int, int, int, int) override { ++count; }
  void Ellipse(int, int, int, int) override { ++count; }
  void TextOut(int, int, const std::string&) override { ++count; }
  int TextWidth(const std::string& text) override { return int(text.size()) * 7; }
  int TextHeight(const std::string&) override { return 13; }
  int64_t count = 0;
};

void CountedRedraw(benchmark::State& bench, bool fill) {
  const std::unique_ptr<AnalysisState> s = FullMapState();
  s->PlotIsochrones = true;
  MapComputation::FillMapGrid(*s);
  MapDrawingHooks hooks;
  if (fill) hooks.FillMapGrid = [](AnalysisState& state) { MapComputation::FillMapGrid(state); };
  CountingCanvas canvas;
  for (auto _ : bench) MapDrawing::DrawMap(*s, canvas, 1000, 1000, hooks);
  benchmark::DoNotOptimize(canvas.count);
}

BENCHMARK_CAPTURE(CountedRedraw, fill_and_draw, true)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(CountedRedraw, draw_only, false)->Unit(benchmark::kMillisecond)->UseRealTime();
#endif

BENCHMARK(BM_MarkStorePass)->Unit(benchmark::kMicrosecond)->UseRealTime()->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_TimeMapFill32767Marks)
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime()
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

}  // namespace
}  // namespace velmora
