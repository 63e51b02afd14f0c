#include "results/Spectrum.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "maps/FrequencyMap.h"

namespace velmora {
namespace {

// Slow waves of known frequency on a drifting baseline: the dominant frequency is theirs.
TEST(SpectrumTest, FindsTheFrequencyOfTheSlowWaves) {
  for (const double cpm : {2.7, 3.0, 9.5}) {
    SCOPED_TRACE(cpm);
    std::vector<double> samples;
    const double rate = Spectrum::kRateHz;
    for (int i = 0; i < int(600 * rate); ++i) {
      const double t = i / rate;
      // A sawtooth-like slow wave (harmonics included), drift, and the recording's offset.
      const double phase = std::fmod(t * cpm / 60, 1.0);
      samples.push_back(1000 * (1 - phase) + 40 * t + 300);
    }
    const Spectrum::Result whole = Spectrum::Of(samples, rate);
    ASSERT_TRUE(whole.dominantCpm);
    EXPECT_NEAR(*whole.dominantCpm, cpm, 0.05);
    const std::vector<Spectrum::Moment> moments = Spectrum::OverTime(samples, rate);
    ASSERT_EQ(moments.size(), size_t((600 - Spectrum::kWindowS) / Spectrum::kStepS) + 1);
    for (const Spectrum::Moment& m : moments) {
      ASSERT_TRUE(m.dominantCpm);
      EXPECT_NEAR(*m.dominantCpm, cpm, 0.15);
    }
  }
}

TEST(SpectrumTest, FrequencyOfMarksSkipsIntervalsAboveTheLimit) {
  struct Case {
    std::vector<int32_t> times;
    bool limit;
    double cpm;  // negative: none
  };
  const Case cases[] = {
      {{40000, 0, 20000}, false, 3.0},          // any order
      {{0, 20000, 60000}, false, 2.0},          // a missed cycle halves the mean
      {{0, 20000, 60000}, true, 3.0},           // unless intervals above the limit are left out
      {{0, 30000}, true, -1},                   // then nothing may be left
      {{5000}, false, -1},
  };
  for (const Case& c : cases) {
    const double cpm = FrequencyMap::CyclesPerMinute(c.times, c.limit, 25000);
    if (c.cpm < 0) {
      EXPECT_LT(cpm, 0);
    } else {
      EXPECT_NEAR(cpm, c.cpm, 1e-9);
    }
  }
}

}  // namespace
}  // namespace velmora
