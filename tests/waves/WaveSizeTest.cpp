#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

#include "core/AnalysisState.h"
#include "input/SampleRecording.h"
#include "marks/AutomaticMarking.h"
#include "support/MarkedSample.h"
#include "waves/WaveSearch.h"

namespace velmora {
namespace {

// The threshold method's marks on dead electrodes become waves of one site, more of them than
// there are slow waves, and the first wave is one of them. With a smallest size of two the
// waves listed are the recording's slow waves, the first one first.
TEST(WaveSizeTest, TheSmallestSizeListsTheSlowWavesOfARecording) {
  SampleSettings settings;
  settings.seconds = 30;
  testing::MarkedSample sample(settings, AutomaticMarking::kThresholdMethod);
  AnalysisState& s = *sample.state;
  const std::vector<Activation> truth = SampleRecording::ActivationTimes(settings);
  const int slowWaves = truth.back().wave + 1;
  s.ActivePane = 1;
  WaveSearch search;
  search.CalculateWaves(s);
  EXPECT_GT(s.NrWaves, 3 * slowWaves);
  EXPECT_LT(search.Sites(1), 3);
  s.MinSitesPerWave = 2;
  search.CalculateWaves(s);
  ASSERT_EQ(s.NrWaves, slowWaves);
  for (int wave = 1; wave <= s.NrWaves; ++wave) {
    EXPECT_GE(search.Sites(wave), int(truth.size()) / slowWaves) << wave;
    int32_t earliest = std::numeric_limits<int32_t>::max();
    for (int channel = 17; channel <= 256; ++channel)
      if (search.WaveTime(channel, wave) != kNoValue) earliest = std::min(earliest, search.WaveTime(channel, wave));
    EXPECT_NEAR(earliest, 2000 + (wave - 1) * 20000, 15) << wave;  // the marks lead by about 11 ms
  }
}

}  // namespace
}  // namespace velmora
