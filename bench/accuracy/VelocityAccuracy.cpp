// How close each velocity method comes to fronts whose speed and direction are known: generated
// planar and radial fronts, 4 mm spacing, 6-8 mm/s, a few dead electrodes, with and without
// timing noise. The marks are the generated activation times themselves (whole ms, with the
// noise), so what is measured is the method and not the automatic marking.
#include <cmath>
#include <cstdlib>
#include <string>
#include <cstdio>
#include <memory>
#include <numbers>
#include <vector>

#include "core/AnalysisState.h"
#include "core/Limits.h"
#include "input/SampleFront.h"
#include "input/SampleRecording.h"
#include "maps/MapDrawing.h"
#include "maps/VelocityCalculation.h"

namespace velmora {
namespace {

constexpr int kSeeds = 10;
constexpr double kJitters[] = {0, 2, 5};
constexpr const char* kMethodNames[] = {"squares", "smoothed", "fit"};
constexpr int kMethods = 3;

struct Errors {
  double speedPercent = 0, directionDeg = 0;
  long count = 0;
  void Add(double speed, double direction) { speedPercent += speed, directionDeg += direction, ++count; }
  double MeanSpeed() const { return count ? speedPercent / double(count) : NAN; }
  double MeanDirection() const { return count ? directionDeg / double(count) : NAN; }
};

SampleSettings SettingsFor(SampleSettings::Front front, double jitter, int seed) {
  SampleSettings s;
  s.seed = uint32_t(seed);
  s.front = front;
  s.jitterMs = jitter;
  s.spacingMm = 4;
  s.speedMmPerS = 6 + 0.5 * (seed % 5);
  s.directionDeg = (seed * 47) % 360;
  s.deadElectrodes = 3;
  return s;
}

double AngleBetween(double a, double b) {
  const double d = std::fmod(std::abs(a - b), 360.0);
  return d > 180 ? 360 - d : d;
}

// Puts one wave's times into the map grid as the time map would hold them.
void EnterWave(AnalysisState& state, const std::vector<Activation>& activations, int wave) {
  for (int col = 1; col <= state.NrCols; ++col)
    for (int row = 1; row <= state.NrRows; ++row) state.Cell(col, row).Value = kNoValue;
  for (const Activation& a : activations)
    if (a.wave == wave) state.Cell(a.col, a.row).Value = a.timeMs;
}

void Measure(AnalysisState& state, const SampleSettings& settings, Errors (&errors)[kMethods]) {
  state.NrCols = settings.cols;
  state.NrRows = settings.rows;
  state.ElectrodeDistance = settings.spacingMm;
  MapDrawing::CalcCellSize(state, 1000, 1000);
  const std::vector<Activation> activations = SampleRecording::ActivationTimes(settings);
  const int waves = activations.empty() ? 0 : activations.back().wave + 1;
  for (int wave = 0; wave < waves; ++wave) {
    EnterWave(state, activations, wave);
    for (int method = 0; method < kMethods; ++method) {
      state.VelocityMethod = method;
      for (const VelocityEstimate& e : VelocityCalculation::Estimate(state)) {
        const SampleFront::Motion truth = SampleFront::TrueMotion(settings, e.x, e.y);
        const double speed = e.velocity.speed * 10;  // cm/s to mm/s
        // Rows grow down the screen; directions count counter-clockwise, as the arrows do.
        double direction = std::atan2(-e.velocity.vy, e.velocity.vx) * 180 / std::numbers::pi;
        if (direction < 0) direction += 360;
        errors[method].Add(std::abs(speed - truth.speedMmPerS) / truth.speedMmPerS * 100,
                           AngleBetween(direction, truth.directionDeg));
      }
    }
  }
}

// The fit's neighbourhood and surface can be chosen: velmora_accuracy [RADIUS [plane|quadratic]].
int Run(int argc, char** argv) {
  auto state = std::make_unique<AnalysisState>();
  SetDefaults(*state);
  if (argc > 1) state->VelocityFitRadius = std::atoi(argv[1]);
  if (argc > 2) state->VelocityFitQuadratic = std::string(argv[2]) != "plane";
  std::printf("# fit radius %d, %s\n", state->VelocityFitRadius, state->VelocityFitQuadratic ? "quadratic" : "plane");
  std::printf("front\tjitter_ms\tmethod\tvelocities\tspeed_error_pct\tdirection_error_deg\n");
  for (const auto front : {SampleSettings::Front::Planar, SampleSettings::Front::Radial}) {
    for (const double jitter : kJitters) {
      Errors errors[kMethods];
      for (int seed = 1; seed <= kSeeds; ++seed) Measure(*state, SettingsFor(front, jitter, seed), errors);
      for (int method = 0; method < kMethods; ++method) {
        std::printf("%s\t%g\t%s\t%ld\t%.3f\t%.3f\n", front == SampleSettings::Front::Planar ? "planar" : "radial",
                    jitter, kMethodNames[method], errors[method].count, errors[method].MeanSpeed(),
                    errors[method].MeanDirection());
      }
    }
  }
  return 0;
}

}  // namespace
}  // namespace velmora

int main(int argc, char** argv) { return velmora::Run(argc, argv); }
