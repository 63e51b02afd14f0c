// How long a full redraw of a time map takes (fill from the mark store, cells, digits, grid
// and isochrones), against drawing the same primitives alone on the same back buffer.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "../MapBenchState.h"
#include "core/AnalysisState.h"
#include "core/Limits.h"
#include "maps/MapComputation.h"
#include "maps/MapDrawing.h"
#include "ui/QtCanvas.h"

namespace velmora {
namespace {

constexpr int kPane = 1000;
using bench::FullMapState;

// The full map state drawn as a pane shows it: colours, digits, grid and isochrones every
// 500 ms across the nearly 60 s of times.
std::unique_ptr<AnalysisState> DrawnMapState() {
  std::unique_ptr<AnalysisState> s = FullMapState();
  s->ShowMapColor = s->ShowMapDigit = s->ShowGrid = s->PlotIsochrones = true;
  s->IsochroneStep = 500;
  return s;
}

// Keeps every call a drawing makes, in order, so it can be drawn again without the code
// that worked out what to draw.
class PrimitiveRecorder : public Canvas {
 public:
  enum class Op { Pen, Brush, Font, Line, Polyline, Rectangle, Ellipse, Text };
  struct Primitive {
    Op op;
    int a = 0, b = 0, c = 0, d = 0;
    Colour colour = 0;
    FontStyle font;
    std::string text;
    std::vector<Point> points;
  };

  void SetPen(Colour colour, int width, PenMode mode) override {
    calls.push_back({Op::Pen, width, int(mode), 0, 0, colour, {}, {}, {}});
  }
  void SetBrush(Colour colour, BrushStyle style) override { calls.push_back({Op::Brush, int(style), 0, 0, 0, colour, {}, {}, {}}); }
  void SetFont(Colour colour, FontStyle style) override { calls.push_back({Op::Font, 0, 0, 0, 0, colour, style, {}, {}}); }
  void Line(int x1, int y1, int x2, int y2) override { calls.push_back({Op::Line, x1, y1, x2, y2, 0, {}, {}, {}}); }
  void Polyline(const std::vector<Point>& points) override {
    calls.push_back({Op::Polyline, 0, 0, 0, 0, 0, {}, {}, points});
  }
  void Rectangle(int l, int t, int r, int b) override { calls.push_back({Op::Rectangle, l, t, r, b, 0, {}, {}, {}}); }
  void Ellipse(int l, int t, int r, int b) override { calls.push_back({Op::Ellipse, l, t, r, b, 0, {}, {}, {}}); }
  void TextOut(int x, int y, const std::string& text) override {
    calls.push_back({Op::Text, x, y, 0, 0, 0, {}, text, {}});
  }
  int TextWidth(const std::string& text) override { return int(text.size()) * 7; }
  int TextHeight(const std::string&) override { return 13; }

  void Replay(Canvas& canvas) const {
    for (const Primitive& p : calls) {
      switch (p.op) {
        case Op::Pen: canvas.SetPen(p.colour, p.a, PenMode(p.b)); break;
        case Op::Brush: canvas.SetBrush(p.colour, BrushStyle(p.a)); break;
        case Op::Font: canvas.SetFont(p.colour, p.font); break;
        case Op::Line: canvas.Line(p.a, p.b, p.c, p.d); break;
        case Op::Polyline: canvas.Polyline(p.points); break;
        case Op::Rectangle: canvas.Rectangle(p.a, p.b, p.c, p.d); break;
        case Op::Ellipse: canvas.Ellipse(p.a, p.b, p.c, p.d); break;
        case Op::Text: canvas.TextOut(p.a, p.b, p.text); break;
      }
    }
  }
  int Count(Op op) const {
    int n = 0;
    for (const Primitive& p : calls) n += p.op == op;
    return n;
  }

  std::vector<Primitive> calls;
};

QImage BackBuffer() {
  QImage image(kPane, kPane, QImage::Format_RGB32);
  image.setDotsPerMeterX(3780);
  image.setDotsPerMeterY(3780);
  return image;
}

MapDrawingHooks FillHooks() {
  MapDrawingHooks hooks;
  hooks.FillMapGrid = [](AnalysisState& state) { MapComputation::FillMapGrid(state); };
  return hooks;
}

void BM_TimeMapFillAndDraw(benchmark::State& bench) {
  const std::unique_ptr<AnalysisState> s = DrawnMapState();
  const MapDrawingHooks hooks = FillHooks();
  QImage image = BackBuffer();
  QPainter painter(&image);
  QtCanvas canvas(painter);
  for (auto _ : bench) MapDrawing::DrawMap(*s, canvas, kPane, kPane, hooks);
}

void BM_TimeMapPrimitivesOnly(benchmark::State& bench) {
  const std::unique_ptr<AnalysisState> s = DrawnMapState();
  PrimitiveRecorder recorder;
  MapDrawing::DrawMap(*s, recorder, kPane, kPane, FillHooks());
  QImage image = BackBuffer();
  QPainter painter(&image);
  QtCanvas canvas(painter);
  for (auto _ : bench) recorder.Replay(canvas);
  using Op = PrimitiveRecorder::Op;
  if (recorder.Count(Op::Text) < bench::kMapCells) bench.SkipWithError("every cell should show its digits");
  if (recorder.Count(Op::Line) + recorder.Count(Op::Polyline) == 0) bench.SkipWithError("no isochrones drawn");
  bench.counters["primitives"] = double(recorder.calls.size());
}

#define VELMORA_MAP_BENCH(function) \
  BENCHMARK(function)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(9)->ReportAggregatesOnly(true)
VELMORA_MAP_BENCH(BM_TimeMapPrimitivesOnly);
VELMORA_MAP_BENCH(BM_TimeMapFillAndDraw);

}  // namespace
}  // namespace velmora
