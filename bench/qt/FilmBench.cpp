// An animation frame against a time-map redraw on the same 1000 x 1000 back buffer, and how
// many 800 x 800 frames per second the film encoder takes.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>

#include <memory>
#include <vector>

#include "../MapBenchState.h"
#include "../TemporaryFolder.h"
#include "core/AnalysisState.h"
#include "film/FilmEncoder.h"
#include "maps/ActivationFilm.h"
#include "ui/QtCanvas.h"

namespace velmora {
namespace {

constexpr int kFramePane = 1000;
constexpr int kFilmSide = 800;

// The full map state with the animation's start values: steps of 100 ms, a 2 s fade.
std::unique_ptr<AnalysisState> FilmState() {
  std::unique_ptr<AnalysisState> s = bench::FullMapState();
  s->ShowGrid = true;
  s->AnimStep = 100;
  s->SWDuration = 2000;
  s->AnimBegin = 0;
  s->AnimEnd = s->NoValue;
  return s;
}

QImage Buffer(int side) {
  QImage image(side, side, QImage::Format_RGB32);
  image.fill(Qt::white);
  return image;
}

void BM_AnimationFrame(benchmark::State& bench) {
  const std::unique_ptr<AnalysisState> s = FilmState();
  const ActivationFilm film(*s, 1);
  QImage image = Buffer(kFramePane);
  QPainter painter(&image);
  QtCanvas canvas(painter);
  int frame = 0;
  for (auto _ : bench) {
    film.DrawFrame(*s, canvas, kFramePane, kFramePane, frame, true);
    frame = (frame + 1) % film.Timing().Count;
  }
}

void BM_FilmEncoding800(benchmark::State& bench) {
  if (!FilmEncoder::Available()) return bench.SkipWithError("built without FFmpeg");
  const std::unique_ptr<AnalysisState> s = FilmState();
  const ActivationFilm film(*s, 1);
  // Distinct frames of the real film, drawn once, so only the encoding is measured.
  std::vector<QImage> frames;
  for (int frame = 0; frame < 100; ++frame) {
    frames.push_back(Buffer(kFilmSide));
    QPainter painter(&frames.back());
    QtCanvas canvas(painter);
    film.DrawFrame(*s, canvas, kFilmSide, kFilmSide, frame * 5, true);
  }
  bench::TemporaryFolder folder;
  FilmEncoder encoder(folder.File("film.mp4"), kFilmSide, kFilmSide, 10);
  size_t next = 0;
  for (auto _ : bench) {
    const QImage& image = frames[next];
    encoder.AddFrame(image.constBits(), int(image.bytesPerLine()));
    next = (next + 1) % frames.size();
  }
  encoder.Finish();
  bench.SetItemsProcessed(int64_t(bench.iterations()));
}

BENCHMARK(BM_AnimationFrame)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_FilmEncoding800)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);

}  // namespace
}  // namespace velmora
