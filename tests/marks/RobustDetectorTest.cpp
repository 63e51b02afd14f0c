#include "marks/RobustDetector.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "core/AnalysisState.h"
#include "input/SampleRecording.h"
#include "input/SampleScore.h"
#include "marks/AutomaticMarking.h"
#include "support/MarkedSample.h"
#include "support/ScriptedUi.h"

namespace velmora {
namespace {

using testing::MarkedSample;

// Half a minute, two waves.
SampleSettings Impaired(int dead, SignalImpairments impairments, SampleSettings::Front front = {}) {
  SampleSettings s;
  s.seconds = 30;
  s.cols = 12;
  s.rows = 10;
  s.directionDeg = 47;
  s.speedMmPerS = 12;
  s.deadElectrodes = dead;
  s.front = front;
  s.impairments = impairments;
  return s;
}

// The recordings on which the threshold method lost its activations or marked noise: the
// robust method finds them all, marks nothing else (nothing on a dead electrode) and puts
// its marks where the signal falls fastest.
TEST(RobustDetectorTest, FindsTheActivationsOfImpairedRecordings) {
  struct Case {
    const char* name;
    SampleSettings settings;
    bool smooth = true;
  };
  const SignalImpairments all{.noiseUv = 60, .mainsUv = 100, .driftUv = 3000, .artifactsPerMinute = 2};
  const Case cases[] = {
      {"noise 60 uV, one dead electrode", Impaired(1, {.noiseUv = 60})},
      {"and mains 100 uV", Impaired(1, {.noiseUv = 60, .mainsUv = 100})},
      {"and a drift of 3 mV", Impaired(1, {.noiseUv = 60, .mainsUv = 100, .driftUv = 3000})},
      {"noise 60 uV, three dead electrodes", Impaired(3, {.noiseUv = 60})},
      {"all of it", Impaired(3, all)},
      {"all of it, radial", Impaired(3, all, SampleSettings::Front::Radial)},
      {"all of it, unsmoothed", Impaired(3, all), false},
  };
  for (const Case& c : cases) {
    const MarkedSample sample(c.settings, AutomaticMarking::kRobustMethod, c.smooth);
    const MarkScore& s = sample.score;
    SCOPED_TRACE(c.name);
    EXPECT_GE(s.Sensitivity(), 0.97);
    EXPECT_GE(s.PositivePredictiveValue(), 0.97);
    EXPECT_LE(s.MedianAbsoluteError(), 5.0);
    EXPECT_LE(std::abs(s.MeanError()), 2.0);  // no lead: the threshold crossing's is about 11 ms
    EXPECT_EQ(s.deadMarks, 0);
    EXPECT_GT(s.activations, 200);
  }
}

// On the clean sample both methods find the same activations; the robust marks sit where the
// signal falls fastest, the threshold crossings 8-12 ms before.
TEST(RobustDetectorTest, FindsWhatTheThresholdMethodFindsOnTheCleanSample) {
  SampleSettings clean;
  clean.seconds = 30;
  const MarkedSample robust(clean, AutomaticMarking::kRobustMethod);
  const MarkedSample threshold(clean, AutomaticMarking::kThresholdMethod);
  EXPECT_EQ(robust.score.matched, robust.score.activations);
  EXPECT_EQ(robust.score.marks, robust.score.activations);
  EXPECT_EQ(threshold.score.matched, threshold.score.activations);
  EXPECT_LE(robust.score.MedianAbsoluteError(), 1.0);
  EXPECT_NEAR(threshold.score.MeanError(), -10, 2.5);
}

// Hand-made signals on a raw store without noise (the deviation is its least, 1 unit), one
// electrode for each behaviour.
TEST(RobustDetectorTest, KeepsSteepFallsApartByTheRefractoryPeriodAndWithinTheSignal) {
  constexpr int kLength = 20000;
  auto s = std::make_unique<AnalysisState>();
  s->SigLength = kLength;
  const auto fall = [&](int channel, int at, int size) {
    for (int sample = at; sample <= kLength; ++sample) s->Signal(sample - 1, channel - 1) -= size;
  };
  // A swing of the whole baseline, 5,000 units up and back over a second: no downstroke.
  const auto swing = [&](int channel, int from) {
    for (int k = 0; k < 1000; ++k)
      s->Signal(from + k - 1, channel - 1) += int(std::lround(2500 * (1 - std::cos(2 * M_PI * k / 1000.0))));
  };
  struct Case {
    int channel;
    std::vector<int> expected;
  };
  fall(17, 5000, 2000);
  fall(18, 5000, 1000), fall(18, 5900, 2000);  // 900 ms apart: the stronger stays
  fall(19, 5000, 1000), fall(19, 6100, 2000);  // 1,100 ms apart: both
  fall(20, 60, 2000), fall(20, kLength - 60, 2000);  // too near the ends to be judged
  swing(21, 8000);
  swing(22, 8000), fall(22, 8300, 1500);  // a downstroke during a swing is still one
  const Case cases[] = {{17, {5000}}, {18, {5900}}, {19, {5000, 6100}}, {20, {}}, {21, {}}, {22, {8300}}};
  s->DetectionMethod = AutomaticMarking::kRobustMethod;
  s->CurWindow = kLength;
  testing::ScriptedUi ui;
  AutomaticMarking(*s, ui).MarkAllSlowWaves();
  for (const Case& c : cases) {
    std::vector<int> times;
    for (int n = 1; n <= s->MarkCount; ++n)
      if (s->Mark(n).Electrode == c.channel) times.push_back(s->Mark(n).Time);
    EXPECT_EQ(times, c.expected) << "electrode " << c.channel;
  }
}

}  // namespace
}  // namespace velmora
