#include <gtest/gtest.h>

#include <memory>

#include "core/AnalysisState.h"
#include "marks/AmplitudeCalculation.h"
#include "marks/MarkStore.h"
#include "support/ScriptedUi.h"

namespace velmora {
namespace {

class AmplitudeCalculationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    s->SigLength = 5000;
    s->SamplingF = 1000;
  }
  int Add(int electrode, int kind, int time) {
    s->PointerChannel = electrode;
    MarkStore::AddMarkRecord(*s, time, kind);
    return s->MarkCount;
  }
  void Set(int channel, int sample, int value) { s->Signal(sample - 1, channel - 1) = value; }
  const AmplitudeRecord& Record(int mark) const { return s->MarkAmplitudes[size_t(mark - 1)]; }

  std::unique_ptr<AnalysisState> s = std::make_unique<AnalysisState>();
};

TEST_F(AmplitudeCalculationTest, AWindowNearTheStartIsCutAtSampleOne) {
  Set(17, 1, 900);
  Set(17, 50, 700);
  Set(17, 400, -800);
  Set(17, 601, 5000);  // just outside 100 + 500
  const int mark = Add(17, kSlowWave, 100);
  AmplitudeCalculation::CalcAmplitudes(*s);
  const AmplitudeRecord& r = Record(mark);
  EXPECT_EQ(r.Electrode, 17);
  EXPECT_EQ(r.MaxValue, 900);
  EXPECT_EQ(r.MaxSample, 1);
  EXPECT_EQ(r.MinValue, -800);
  EXPECT_EQ(r.MinSample, 400);
  EXPECT_EQ(r.SteepSample, 1);  // v(25) - v(1) = -900 beats -800 at 376 and -700 at 50
  EXPECT_DOUBLE_EQ(r.Slope, 900.0 / 747.0 * 40.0);
  EXPECT_EQ(r.Interval, kNoValue);
}

TEST_F(AmplitudeCalculationTest, TiesGoToTheEarliestSample) {
  Set(30, 2000, 50);
  Set(30, 2100, 50);
  Set(30, 2200, -50);
  Set(30, 2300, -50);
  const int mark = Add(30, kSlowWave, 2150);
  CalcAmplitudes(*s);
  EXPECT_EQ(Record(mark).MaxSample, 2000);
  EXPECT_EQ(Record(mark).MinSample, 2200);
  EXPECT_EQ(Record(mark).SteepSample, 2000);  // falls of 50 start at 2000, 2100, 2176 and 2276
}

TEST_F(AmplitudeCalculationTest, IntervalsCountFromTheLatestEarlierSlowWaveOfTheElectrode) {
  const int late = Add(17, kSlowWave, 3000);
  Add(17, kSpike, 2500);
  Add(18, kSlowWave, 2900);
  const int early = Add(17, kSlowWave, 100);
  const int middle = Add(17, kSlowWave, 1200);
  AmplitudeCalculation::CalcAmplitudes(*s);
  EXPECT_EQ(Record(late).Interval, 1800);
  EXPECT_EQ(Record(middle).Interval, 1100);
  EXPECT_EQ(Record(early).Interval, kNoValue);
  EXPECT_EQ(Record(2).Electrode, kNoValue);  // spikes get no record
}

TEST_F(AmplitudeCalculationTest, MarksOutsideTheSignalOrOffTheElectrodesGetNoRecord) {
  s->MarkAmplitudes[5].Electrode = 99;  // left from an earlier run
  const int first = Add(5, kSlowWave, 1000);
  const int atEnd = Add(20, kSlowWave, 5000);
  const int atZero = Add(20, kSlowWave, 0);
  const int good = Add(256, kSlowWave, 4999);
  AmplitudeCalculation::CalcAmplitudes(*s);
  EXPECT_EQ(Record(first).Electrode, kNoValue);
  EXPECT_EQ(Record(atEnd).Electrode, kNoValue);
  EXPECT_EQ(Record(atZero).Electrode, kNoValue);
  EXPECT_EQ(Record(good).Electrode, 256);
  EXPECT_EQ(s->MarkAmplitudes[5].Electrode, kNoValue);
}

TEST_F(AmplitudeCalculationTest, ASignalThatNeverFallsHasSlopeZero) {
  for (int sample = 1; sample <= 5000; ++sample) Set(40, sample, sample);
  const int mark = Add(40, kSlowWave, 2000);
  CalcAmplitudes(*s);
  EXPECT_EQ(Record(mark).SteepSample, 0);
  EXPECT_EQ(Record(mark).Slope, 0.0);
  EXPECT_EQ(Record(mark).MaxSample, 2500);
  EXPECT_EQ(Record(mark).MinSample, 1500);
}

TEST_F(AmplitudeCalculationTest, FallsReachingBeyondTheSignalAreNotMeasured) {
  Set(40, 4970, 100);
  Set(40, 4990, 200);     // its fall would end at 5014, past SigLength
  Set(40, 5010, -30000);  // in the store, but past SigLength
  const int mark = Add(40, kSlowWave, 4900);
  CalcAmplitudes(*s);
  EXPECT_EQ(Record(mark).SteepSample, 4970);  // v(4994) - v(4970) = -100
  EXPECT_DOUBLE_EQ(Record(mark).Slope, 100.0 / 747.0 * 40.0);
  EXPECT_EQ(Record(mark).MinValue, 0);
}

TEST_F(AmplitudeCalculationTest, TheWindowFollowsTheSamplingRate) {
  s->SamplingF = 2000;  // time 1000 ms is sample 2000, the window 1000 samples each side
  Set(50, 999, 900);    // outside
  Set(50, 1000, 300);
  Set(50, 3000, 800);
  Set(50, 3001, 5000);  // outside
  const int mark = Add(50, kSlowWave, 1000);
  CalcAmplitudes(*s);
  EXPECT_EQ(Record(mark).MaxValue, 800);
  EXPECT_EQ(Record(mark).MaxSample, 3000);
}

}  // namespace
}  // namespace velmora

namespace velmora {
namespace {

// 3,000 slow waves: the panel is looked at after marks 1,024 and 2,048. A cancel at the
// second look leaves every record as the last calculation left it.
TEST_F(AmplitudeCalculationTest, ACancelledCalculationLeavesTheRecordsBefore) {
  for (int n = 0; n < 3000; ++n) Add(17 + n % 240, kSlowWave, 600 + n);
  Set(17, 600, 900);
  testing::ScriptedUi ui;
  ASSERT_TRUE(AmplitudeCalculation::CalcAmplitudes(*s, ui));
  EXPECT_EQ(Record(1).MaxValue, 900);
  EXPECT_EQ(ui.progressSteps, 2);
  EXPECT_EQ(ui.progressHidden, 1);
  Set(17, 600, 1700);
  ui.cancelAtEvents = ui.processEventsCalls + 2;
  EXPECT_FALSE(AmplitudeCalculation::CalcAmplitudes(*s, ui));
  EXPECT_EQ(Record(1).MaxValue, 900);
  EXPECT_EQ(ui.progressHidden, 2);
  ui.cancelAtEvents = 0;
  ASSERT_TRUE(AmplitudeCalculation::CalcAmplitudes(*s, ui));
  EXPECT_EQ(Record(1).MaxValue, 1700);
}

}  // namespace
}  // namespace velmora
