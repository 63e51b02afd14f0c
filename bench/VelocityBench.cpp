// What the velocity methods cost on one 16 x 15 time map, arrows included: the fit solves a
// small least-squares problem per electrode where the squares take four differences.
#include <benchmark/benchmark.h>

#include <memory>

#include "MapBenchState.h"
#include "core/AnalysisState.h"
#include "maps/MapComputation.h"
#include "maps/MapDrawing.h"
#include "maps/VelocityCalculation.h"

namespace velmora {
namespace {

void Velocities(benchmark::State& bench, int method, bool quadratic) {
  const std::unique_ptr<AnalysisState> s = bench::FullMapState();
  s->CurMapKind = 0;
  MapComputation::FillMapGrid(*s);
  MapDrawing::CalcCellSize(*s, 1000, 1000);
  s->VelocityMethod = method;
  s->VelocityFitQuadratic = quadratic;
  int accepted = 0;
  for (auto _ : bench) {
    accepted = VelocityCalculation::CalcVelocities(*s);
    benchmark::DoNotOptimize(s->Square(1, 1).Speed);
  }
  if (accepted == 0) bench.SkipWithError("the map should give velocities");
  bench.counters["velocities"] = accepted;
}

void BM_VelocitiesSquares(benchmark::State& bench) { Velocities(bench, 0, false); }
void BM_VelocitiesSmoothed(benchmark::State& bench) { Velocities(bench, 1, false); }
void BM_VelocitiesFitPlane(benchmark::State& bench) { Velocities(bench, 2, false); }
void BM_VelocitiesFitQuadratic(benchmark::State& bench) { Velocities(bench, 2, true); }

BENCHMARK(BM_VelocitiesSquares);
BENCHMARK(BM_VelocitiesSmoothed);
BENCHMARK(BM_VelocitiesFitPlane);
BENCHMARK(BM_VelocitiesFitQuadratic);

}  // namespace
}  // namespace velmora
