#include "results/WaveTable.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <memory>

#include "core/AnalysisState.h"
#include "input/SampleRecording.h"
#include "maps/MapFixture.h"
#include "waves/WaveSearch.h"

namespace velmora::testing {
namespace {

using Choice = SamplePatterns::Choice;

// Generated waves of known pattern, speed and direction, marked at their recorded times
// (5 ms timing noise, 3 dead electrodes), grouped into waves and tabled.
struct Generated {
  SampleSettings settings;
  std::vector<Activation> truth;
  std::unique_ptr<AnalysisState> state = std::make_unique<AnalysisState>();
  WaveSearch search;
  WaveTable table;

  Generated(Choice pattern, double normalDeg, int velocityMethod = 0, uint32_t seed = 1) {
    settings.seed = seed;
    settings.seconds = 300;
    settings.speedMmPerS = 10;
    settings.jitterMs = 5;
    settings.directionDeg = normalDeg;
    settings.pattern = pattern;
    truth = SampleRecording::ActivationTimes(settings);
    AnalysisState& s = *state;
    SetDefaults(s);
    s.NrCols = settings.cols, s.NrRows = settings.rows, s.ElectrodeDistance = settings.spacingMm;
    s.ActivePane = 1, s.MarkType = {1, 1}, s.SigLength = SampleRecording::StoreRows(settings);
    s.VelocityMethod = velocityMethod;
    for (int row = 1; row <= settings.rows; ++row)
      for (int col = 1; col <= settings.cols; ++col) PlaceChannel(s, 17 + (row - 1) * settings.cols + col - 1, col, row);
    for (const Activation& a : truth) {
      MarkRecord& m = s.Mark(++s.MarkCount);
      m = MarkRecord{};
      m.Electrode = uint16_t(a.channel), m.Kind = kSlowWave, m.Time = a.timeMs;
    }
    search.CalculateWaves(s);
    table = WaveTable::Build(s, search, {4, normalDeg});
  }
  int Waves() const { return truth.back().wave + 1; }
  // The generated wave most of a table row's activations belong to.
  int TruthWave(const WaveRow& row) const {
    std::map<int, int> votes;
    for (const WaveMarkRow& m : table.Marks())
      if (m.wave == row.wave)
        for (const Activation& a : truth)
          if (a.channel == m.electrode && a.timeMs == m.timeMs) ++votes[a.wave];
    int best = -1, most = 0;
    for (const auto& [wave, count] : votes)
      if (count > most) best = wave, most = count;
    return best;
  }
};

const char* TruthName(const Generated& g, int wave) {
  return SamplePatterns::Name(SamplePatterns::PatternOf(g.settings, wave, g.Waves()));
}

TEST(WaveTableTest, EveryGeneratedWaveIsOneRowWithItsTruePattern) {
  struct Case {
    Choice pattern;
    double normalDeg;
    int velocityMethod;
  };
  const Case cases[] = {{Choice::Normal, 0, 0},    {Choice::Retrograde, 0, 0}, {Choice::Ectopic, 0, 0},
                        {Choice::Collision, 0, 0}, {Choice::Block, 0, 0},      {Choice::Mix, 0, 0},
                        {Choice::Mix, 180, 2},     {Choice::Retrograde, 180, 1}};
  for (const Case& c : cases) {
    for (const uint32_t seed : {1u, 2u}) {
      const Generated g(c.pattern, c.normalDeg, c.velocityMethod, seed);
      SCOPED_TRACE(::testing::Message() << "pattern " << int(c.pattern) << " normal " << c.normalDeg << " seed "
                                        << seed);
      ASSERT_EQ(int(g.table.Rows().size()), g.Waves());
      int right = 0;
      for (const WaveRow& row : g.table.Rows()) {
        const int wave = g.TruthWave(row);
        const bool same = std::string(PropagationPattern::Name(row.pattern)) == TruthName(g, wave);
        if (!same) ADD_FAILURE() << "wave " << wave << " is " << TruthName(g, wave) << ", tabled as "
                                 << PropagationPattern::Name(row.pattern);
        right += same;
      }
      EXPECT_GE(right, 0.95 * g.Waves());
    }
  }
}

TEST(WaveTableTest, RowsMeasureTheGeneratedFronts) {
  for (const int method : {0, 1, 2}) {
    SCOPED_TRACE(method);
    const Generated g(Choice::Normal, 0, method);
    const double msPerMinute = 60000.0, periodMs = g.settings.periodS * 1000;
    for (const WaveRow& row : g.table.Rows()) {
      const int wave = g.TruthWave(row);
      int32_t first = INT32_MAX, last = INT32_MIN;
      int sites = 0;
      for (const Activation& a : g.truth)
        if (a.wave == wave) first = std::min(first, a.timeMs), last = std::max(last, a.timeMs), ++sites;
      EXPECT_EQ(row.startMs, first);
      EXPECT_EQ(row.durationMs, last - first);
      EXPECT_EQ(row.sites, sites);
      EXPECT_DOUBLE_EQ(row.areaMm2, sites * 16.0);
      ASSERT_TRUE(row.speedMmS && row.directionDeg);
      EXPECT_NEAR(*row.speedMmS, g.settings.speedMmPerS, 0.05 * g.settings.speedMmPerS);
      EXPECT_NEAR(std::remainder(*row.directionDeg - g.settings.directionDeg, 360.0), 0, 3);
      EXPECT_EQ(row.intervalS.has_value(), wave > 0);
      if (row.frequencyCpm) EXPECT_NEAR(*row.frequencyCpm, msPerMinute / periodMs, 0.01);
    }
  }
}

}  // namespace
}  // namespace velmora::testing
