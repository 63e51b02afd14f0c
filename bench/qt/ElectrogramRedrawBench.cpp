// How long a full redraw of an electrogram pane takes, against drawing its polylines alone.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>

#include <memory>
#include <string>
#include <vector>

#include "../ElectrogramBenchRecording.h"
#include "core/AnalysisState.h"
#include "marks/ElectrogramDrawing.h"
#include "ui/QtCanvas.h"

namespace velmora {
namespace {

// Keeps the polylines a drawing makes and nothing else.
class PolylineCollector : public Canvas {
 public:
  void SetPen(Colour, int, PenMode) override {}
  void SetBrush(Colour, BrushStyle) override {}
  void SetFont(Colour, FontStyle) override {}
  void Line(int, int, int, int) override {}
  void Polyline(const std::vector<Point>& points) override { polylines.push_back(points); }
  void Rectangle(int, int, int, int) override {}
  void Ellipse(int, int, int, int) override {}
  void TextOut(int, int, const std::string&) override {}
  int TextWidth(const std::string& text) override { return int(text.size()) * 7; }
  int TextHeight(const std::string&) override { return 13; }
  std::vector<std::vector<Point>> polylines;
};

using bench::ElectrogramBenchRecording;

QImage PaneBuffer() {
  QImage image(1600, 900, QImage::Format_RGB32);
  image.setDotsPerMeterX(3780);
  image.setDotsPerMeterY(3780);
  return image;
}

// With `qtRaster` the canvas is made to leave the trace lines to Qt's own rasteriser (a clip
// rectangle does that), for comparison with the canvas's direct pixel drawing.
void Polylines24Only(benchmark::State& bench, int begin, int window, bool qtRaster) {
  ElectrogramBenchRecording& recording = ElectrogramBenchRecording::Get();
  recording.ShowWindow(begin, window);
  PolylineCollector collector;
  ElectrogramDrawing(recording.State(), collector).DrawElectrograms();
  QImage image = PaneBuffer();
  for (auto _ : bench) {
    QPainter painter(&image);
    if (qtRaster) painter.setClipRect(image.rect());
    QtCanvas canvas(painter);
    canvas.SetPen(colours::kGreen, 1, PenMode::Copy);
    for (const auto& polyline : collector.polylines) canvas.Polyline(polyline);
  }
  if (collector.polylines.size() != 24) bench.SkipWithError("expected 24 traces");
}

void BM_Polylines24Only(benchmark::State& bench, bool qtRaster) { Polylines24Only(bench, 10000, 4000, qtRaster); }
// The long window's polylines alone, to show how much of its redraw they are.
void BM_Polylines24Only65000ms(benchmark::State& bench, bool qtRaster) { Polylines24Only(bench, 0, 65000, qtRaster); }

void Redraw(benchmark::State& bench, int begin, int window, bool qtRaster) {
  ElectrogramBenchRecording& recording = ElectrogramBenchRecording::Get();
  recording.ShowWindow(begin, window);
  QImage image = PaneBuffer();
  QPainter painter(&image);
  if (qtRaster) painter.setClipRect(image.rect());
  QtCanvas canvas(painter);
  ElectrogramDrawing drawing(recording.State(), canvas);
  for (auto _ : bench) drawing.DrawElectrograms();
}

void BM_FullRedraw4000ms(benchmark::State& bench, bool qtRaster) { Redraw(bench, 10000, 4000, qtRaster); }
void BM_FullRedraw65000ms(benchmark::State& bench, bool qtRaster) { Redraw(bench, 0, 65000, qtRaster); }

#define VELMORA_REDRAW_BENCH(function, name, qtRaster) \
  BENCHMARK_CAPTURE(function, name, qtRaster)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(9)->ReportAggregatesOnly(true)
VELMORA_REDRAW_BENCH(BM_Polylines24Only, pixels, false);
VELMORA_REDRAW_BENCH(BM_FullRedraw4000ms, pixels, false);
VELMORA_REDRAW_BENCH(BM_FullRedraw65000ms, pixels, false);
VELMORA_REDRAW_BENCH(BM_Polylines24Only65000ms, pixels, false);
VELMORA_REDRAW_BENCH(BM_Polylines24Only, qt_raster, true);
VELMORA_REDRAW_BENCH(BM_FullRedraw4000ms, qt_raster, true);
VELMORA_REDRAW_BENCH(BM_FullRedraw65000ms, qt_raster, true);
VELMORA_REDRAW_BENCH(BM_Polylines24Only65000ms, qt_raster, true);

}  // namespace
}  // namespace velmora
