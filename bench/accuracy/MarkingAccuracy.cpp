// How well each automatic marking finds the slow waves of generated recordings of known truth,
// with what real recordings carry besides: noise, mains hum, baseline drift, motion artifacts
// and dead electrodes, under planar and radial fronts. Each recording is opened as the
// workbench opens it (smoothed) and marked over its whole length; the marks are paired with
// the true activations of their electrodes within 100 ms; only marks on the grid's electrodes
// count. The store is also read unsmoothed for two of them.
//
// velmora_marking_accuracy [--quick] [NAME=VALUE ...]: --quick measures one seed of the
// target recording only; NAME=VALUE sets a preference before marking (RobustThreshold=6).
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "commands/PreferenceTable.h"
#include "core/AnalysisState.h"
#include "core/ConsoleUi.h"
#include "core/DataRoot.h"
#include "input/E00Reader.h"
#include "input/SampleRecording.h"
#include "input/SampleScore.h"
#include "marks/AutomaticMarking.h"

namespace velmora {
namespace {

constexpr int kSeeds = 3;
constexpr const char* kMethodNames[] = {"described", "robust"};

struct Condition {
  const char* name;
  SampleSettings::Front front;
  SignalImpairments impairments;
  bool smooth = true;  // opened with "Smooth Electrograms?" on, as the workbench opens it
};

const std::vector<Condition>& Conditions() {
  using F = SampleSettings::Front;
  static const std::vector<Condition> conditions = {
      {"clean", F::Planar, {}},
      {"noise 15 uV", F::Planar, {.noiseUv = 15}},
      {"noise 60 uV", F::Planar, {.noiseUv = 60}},
      {"noise 120 uV", F::Planar, {.noiseUv = 120}},
      {"noise 250 uV", F::Planar, {.noiseUv = 250}},
      {"noise 60 + mains 100 uV", F::Planar, {.noiseUv = 60, .mainsUv = 100}},
      {"noise 60 + mains 200 uV at 60 Hz", F::Planar, {.noiseUv = 60, .mainsUv = 200, .mainsHz = 60}},
      {"noise 60 + drift 0.3 mV", F::Planar, {.noiseUv = 60, .driftUv = 300}},
      {"noise 60 + drift 1 mV", F::Planar, {.noiseUv = 60, .driftUv = 1000}},
      {"noise 60 + drift 3 mV", F::Planar, {.noiseUv = 60, .driftUv = 3000}},
      {"noise 60 + 2 artifacts/min", F::Planar, {.noiseUv = 60, .artifactsPerMinute = 2}},
      {"noise 60 + 5 artifacts/min", F::Planar, {.noiseUv = 60, .artifactsPerMinute = 5}},
      {"target: noise 60, mains 100, drift 3 mV, 2 artifacts/min", F::Planar,
       {.noiseUv = 60, .mainsUv = 100, .driftUv = 3000, .artifactsPerMinute = 2}},
      {"target, radial", F::Radial, {.noiseUv = 60, .mainsUv = 100, .driftUv = 3000, .artifactsPerMinute = 2}},
      {"worst: noise 250, mains 200, drift 3 mV, 5 artifacts/min", F::Planar,
       {.noiseUv = 250, .mainsUv = 200, .driftUv = 3000, .artifactsPerMinute = 5}},
      {"worst, radial", F::Radial, {.noiseUv = 250, .mainsUv = 200, .driftUv = 3000, .artifactsPerMinute = 5}},
      {"target, unsmoothed", F::Planar, {.noiseUv = 60, .mainsUv = 100, .driftUv = 3000, .artifactsPerMinute = 2}, false},
      {"worst, unsmoothed", F::Planar, {.noiseUv = 250, .mainsUv = 200, .driftUv = 3000, .artifactsPerMinute = 5},
       false},
  };
  return conditions;
}

SampleSettings SettingsFor(const Condition& condition, int seed) {
  SampleSettings s;
  s.seed = uint32_t(seed);
  s.seconds = 60;
  s.cols = 12;
  s.rows = 10;
  s.deadElectrodes = 3;
  s.front = condition.front;
  s.directionDeg = (seed * 47) % 360;
  s.speedMmPerS = 6 + 0.5 * (seed % 5);
  s.impairments = condition.impairments;
  return s;
}

void Measure(const Condition& condition, int seed, const std::vector<std::string>& settings, MarkScore (&scores)[2]) {
  const SampleSettings sample = SettingsFor(condition, seed);
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "velmora-marking-accuracy";
  const SampleFiles files = SampleRecording::Write(sample, folder.string());
  std::ostream nowhere(nullptr);
  ConsoleUi ui(nowhere);
  const DataRoot root((folder / "root").string());
  auto state = std::make_unique<AnalysisState>();
  state->DefaultMatrixFileName = files.matrix;
  state->SmoothElectrograms = condition.smooth;
  E00Reader(*state, ui, root).Open(files.recording, RecordingOpenOptions{false, false});
  for (const std::string& setting : settings) {
    const size_t equals = setting.find('=');
    const PreferenceVariable* v = PreferenceTable::Find(setting.substr(0, equals));
    if (v == nullptr || equals == std::string::npos) {
      std::fprintf(stderr, "unknown setting %s\n", setting.c_str());
      std::exit(2);
    }
    v->Set(*state, std::atoi(setting.c_str() + equals + 1));
  }
  const std::vector<Activation> truth = SampleRecording::ActivationTimes(sample);
  const std::vector<int> dead = SampleRecording::DeadChannels(sample);
  for (int method = 0; method < 2; ++method) {
    state->MarkCount = 0;
    state->DetectionMethod = method;
    state->CurBegin = 0;
    state->CurWindow = state->SigLength;
    state->MarkType[0] = kSlowWave;
    AutomaticMarking(*state, ui).MarkAllSlowWaves();
    scores[method].Add(SampleScore::Score(*state, truth, dead));
  }
}

int Run(int argc, char** argv) {
  bool quick = false;
  std::vector<std::string> settings;
  for (int a = 1; a < argc; ++a) {
    if (std::string(argv[a]) == "--quick")
      quick = true;
    else
      settings.emplace_back(argv[a]);
  }
  std::printf("recording\tmethod\tactivations\tmarks\tsensitivity\tppv\tmedian_abs_error_ms\tmean_error_ms\t"
              "marks_on_dead\n");
  for (const Condition& condition : Conditions()) {
    if (quick && std::string(condition.name).rfind("target:", 0) != 0) continue;
    MarkScore scores[2];
    for (int seed = 1; seed <= (quick ? 1 : kSeeds); ++seed) Measure(condition, seed, settings, scores);
    for (int method = 0; method < 2; ++method) {
      const MarkScore& s = scores[method];
      std::printf("%s\t%s\t%lld\t%lld\t%.3f\t%.3f\t%.1f\t%.1f\t%lld\n", condition.name, kMethodNames[method],
                  (long long)s.activations, (long long)s.marks, s.Sensitivity(), s.PositivePredictiveValue(),
                  s.MedianAbsoluteError(), s.MeanError(), (long long)s.deadMarks);
    }
    std::fflush(stdout);
  }
  return 0;
}

}  // namespace
}  // namespace velmora

int main(int argc, char** argv) { return velmora::Run(argc, argv); }
