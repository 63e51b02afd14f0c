// How long a full redraw of an electrogram pane takes, against drawing its polylines alone.
#include <benchmark/benchmark.h>

#include <stdlib.h>

#include <QImage>
#include <QPainter>

#include <filesystem>
#include <memory>
#include <ostream>
#include <stdexcept>

#include "core/AnalysisState.h"
#include "core/ConsoleUi.h"
#include "core/DataRoot.h"
#include "input/E00Reader.h"
#include "input/SampleRecording.h"
#include "marks/ElectrogramDrawing.h"
#include "marks/MarkStore.h"
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

// The largest sample recording, loaded once, with 5,000 marks spread over its electrodes.
class LoadedRecording {
 public:
  static LoadedRecording& Get() {
    static LoadedRecording recording;
    return recording;
  }
  ~LoadedRecording() {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }
  AnalysisState& State() { return *state_; }

  // Pane A as the benchmark draws it: 24 traces from channel 17 on a 1600 x 900 buffer.
  void ShowWindow(int begin, int window) {
    AnalysisState& s = *state_;
    s.PaneWidth = 1600;
    s.PaneHeight = 900;
    s.NrTraces = 24;
    s.TraceOrder = 0;
    s.FirstChannel = 17;
    s.CurBegin = begin;
    s.CurWindow = window;
    s.ShowElgTimes = true;
  }

 private:
  LoadedRecording() : state_(std::make_unique<AnalysisState>()) {
    std::string pattern = (std::filesystem::temp_directory_path() / "velmora-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot make a temporary folder");
    folder_ = pattern;
    SampleSettings settings;
    settings.seconds = 65.535;
    const SampleFiles files = SampleRecording::Write(settings, folder_);
    std::ostream nowhere(nullptr);
    ConsoleUi ui(nowhere);
    const DataRoot root(folder_ + "/root");
    state_->DefaultMatrixFileName = files.matrix;
    E00Reader(*state_, ui, root).Open(files.recording, RecordingOpenOptions{false, false});
    for (int n = 0; n < 5000; ++n) {
      state_->PointerChannel = 17 + n % 240;
      MarkStore::AddMarkRecord(*state_, int32_t((int64_t(n) * 7919) % 65000), n % 3 == 0 ? kSpike : kSlowWave);
    }
  }
  std::unique_ptr<AnalysisState> state_;
  std::string folder_;
};

QImage PaneBuffer() {
  QImage image(1600, 900, QImage::Format_RGB32);
  image.setDotsPerMeterX(3780);
  image.setDotsPerMeterY(3780);
  return image;
}

// With `qtRaster` the canvas is made to leave the trace lines to Qt's own rasteriser (a clip
// rectangle does that), for comparison with the canvas's direct pixel drawing.
void Polylines24Only(benchmark::State& bench, int begin, int window, bool qtRaster) {
  LoadedRecording& recording = LoadedRecording::Get();
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
  LoadedRecording& recording = LoadedRecording::Get();
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
