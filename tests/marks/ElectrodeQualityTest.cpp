#include "marks/ElectrodeQuality.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/AnalysisState.h"
#include "input/SampleRecording.h"
#include "maps/MapComputation.h"
#include "marks/AutomaticMarking.h"
#include "marks/MarkingReport.h"
#include "support/MarkedSample.h"

namespace velmora {
namespace {

using testing::MarkedSample;

SampleSettings HalfMinute(SignalImpairments impairments = {}) {
  SampleSettings s;
  s.seconds = 30;
  s.impairments = impairments;
  return s;
}

// The electrodes judged dead, by the quality and on the quality map, are those that record
// no slow wave; every other one stands well clear of the dead line.
TEST(ElectrodeQualityTest, JudgesDeadExactlyTheElectrodesWithoutSlowWaves) {
  const SampleSettings cases[] = {
      HalfMinute(), HalfMinute({.noiseUv = 60, .mainsUv = 100, .driftUv = 3000, .artifactsPerMinute = 2})};
  for (const SampleSettings& settings : cases) {
    MarkedSample sample(settings, AutomaticMarking::kThresholdMethod);
    AnalysisState& s = *sample.state;
    const auto table = ElectrodeQuality::Measure(s);
    ASSERT_TRUE(table);
    const std::vector<int> dead = SampleRecording::DeadChannels(settings);
    EXPECT_EQ(ElectrodeQuality::DeadChannels(s, *table, true), std::vector<int32_t>(dead.begin(), dead.end()));
    s.CurMapKind = kQualityMap;
    MapComputation::FillMapGrid(s);
    for (int channel = 17; channel < 17 + settings.cols * settings.rows; ++channel) {
      const MapCell& cell = s.Cell(s.ElectrodeX[size_t(channel - 1)], s.ElectrodeY[size_t(channel - 1)]);
      const bool isDead = std::find(dead.begin(), dead.end(), channel) != dead.end();
      EXPECT_EQ(cell.Value == int32_t(ElectrodeQualityTable::Verdict::Dead), isDead) << channel;
      if (!isDead) {
        EXPECT_GE(cell.Quality, 2 * s.DeadQuality) << channel;
      }
    }
  }
}

// The threshold method marks the noise of dead electrodes; the report after the marking names
// them, and taking their marks away leaves the true activations.
TEST(ElectrodeQualityTest, TheReportNamesTheDeadElectrodesAndTakesTheirMarksAway) {
  MarkedSample sample(HalfMinute(), AutomaticMarking::kThresholdMethod);
  ASSERT_GT(sample.score.deadMarks, 10);
  const MarkingReport report = MarkingReport::After(*sample.state, 0);
  const std::vector<int> dead = SampleRecording::DeadChannels(sample.settings);
  ASSERT_EQ(dead.size(), 3u);
  EXPECT_EQ(report.marksOnDead, sample.score.deadMarks);
  const std::string named = std::to_string(dead[0]) + ", " + std::to_string(dead[1]) + " and " + std::to_string(dead[2]);
  EXPECT_NE(report.Text().find("Electrodes " + named + " look dead"), std::string::npos) << report.Text();
  EXPECT_EQ(report.RemoveDeadMarks(*sample.state), sample.score.deadMarks);
  const MarkScore after = sample.Score();
  EXPECT_EQ(after.deadMarks, 0);
  EXPECT_EQ(after.matched, after.activations);
  EXPECT_GE(after.PositivePredictiveValue(), 0.97);
}

}  // namespace
}  // namespace velmora
