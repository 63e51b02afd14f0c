#include <gtest/gtest.h>

#include <string>

#include "core/AnalysisState.h"
#include "output/ElectrodeIntervals.h"
#include "output/ExportRefused.h"
#include "support/StoreMarks.h"

namespace velmora {
namespace {

class ElectrodeIntervalsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetDefaults(s);
    s.ElgFileName = "/data/rec.E00";
  }
  void AddMark(int electrode, int kind, int time) { testing::AppendMark(s, electrode, kind, time); }
  std::string Refusal(int electrode) {
    try {
      ElectrodeIntervals::Text(s, electrode);
    } catch (const ExportRefused& refusal) {
      return refusal.what();
    }
    return "";
  }

  AnalysisState s;
};

TEST_F(ElectrodeIntervalsTest, SortsTheTimesAndWritesIntervalsRatesAndTheirMean) {
  AddMark(20, kSlowWave, 4000);
  AddMark(20, kSlowWave, 1000);
  AddMark(21, kSlowWave, 1700);
  AddMark(20, kSpike, 2500);
  AddMark(20, kReferenceMark, 3000);
  AddMark(20, kSlowWave, 0);
  EXPECT_EQ(ElectrodeIntervals::Text(s, 20),
            "/data/rec.E00\nEle: 20\n\n1000\n2500\t1500\t40.00\n4000\t1500\t40.00\n\nAvg:\tStDev\n40.00\t0.00\n");
}

TEST_F(ElectrodeIntervalsTest, DeviationDividesByTheNumberOfIntervals) {
  AddMark(30, kSlowWave, 1000);
  AddMark(30, kSlowWave, 2000);  // 60 per minute
  AddMark(30, kSlowWave, 4000);  // 30 per minute
  EXPECT_EQ(ElectrodeIntervals::Text(s, 30),
            "/data/rec.E00\nEle: 30\n\n1000\n2000\t1000\t60.00\n4000\t2000\t30.00\n\nAvg:\tStDev\n45.00\t15.00\n");
}

TEST_F(ElectrodeIntervalsTest, RefusesElectrodesOutside17To255AndMarksWithoutARate) {
  for (int electrode : {1, 16, 256}) {
    AddMark(electrode, kSlowWave, 1000);
    AddMark(electrode, kSlowWave, 2000);
    EXPECT_NE(Refusal(electrode).find("from 17 to 255"), std::string::npos) << electrode;
  }
  EXPECT_FALSE(ElectrodeIntervals::AcceptsElectrode(16));
  EXPECT_TRUE(ElectrodeIntervals::AcceptsElectrode(17));
  EXPECT_TRUE(ElectrodeIntervals::AcceptsElectrode(255));
  EXPECT_FALSE(ElectrodeIntervals::AcceptsElectrode(256));

  AddMark(40, kSlowWave, 1000);
  EXPECT_NE(Refusal(40).find("Electrode 40 has 1 mark"), std::string::npos) << Refusal(40);
  AddMark(41, kSlowWave, 1000);
  AddMark(41, kSpike, 1000);
  EXPECT_NE(Refusal(41).find("two marks at 1000 ms"), std::string::npos) << Refusal(41);
  for (int k = 1; k <= 101; ++k) AddMark(42, kSlowWave, k * 10);
  EXPECT_NE(Refusal(42).find("101 marks"), std::string::npos) << Refusal(42);
  for (int k = 1; k <= 100; ++k) AddMark(43, kSlowWave, k * 10);
  EXPECT_EQ(Refusal(43), "");
}

}  // namespace
}  // namespace velmora
