#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/AnalysisState.h"
#include "core/AtomicFile.h"
#include "maps/MapFixture.h"
#include "maps/SpikeStatistics.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"

namespace velmora {
namespace {

using testing::MapFixture;
using Lines = std::vector<std::string>;

class SpikeStatisticsTest : public MapFixture {
 protected:
  void SetUp() override {
    MapFixture::SetUp();
    s->TraceOrder = 0;  // sequential from FirstChannel
    s->FirstChannel = 17;
    s->NrTraces = 3;
    s->CurBegin = 0;
    s->CurWindow = 10000;
    s->ElgFileName = "trace.E01";
  }
  SpikeStatistics stats;
};

TEST_F(SpikeStatisticsTest, IntervalsOfOneTraceAndATraceWithOneMark) {
  AddMark(17, kSpike, 4000);
  AddMark(17, kSlowWave, 1000);
  AddMark(17, kType3, 2000);
  AddMark(18, kSpike, 500);
  Lines memo{"kept"};
  stats.CalcSpikeStats(*s, memo);
  ASSERT_EQ(memo.size(), 5u);
  EXPECT_EQ(memo[0], "kept");
  EXPECT_EQ(memo[1], " Ele:    Nr:     Avg:      StDev:       Min:      Max:      Range:  ");
  EXPECT_EQ(memo[2], "17      2    1,500.0    707.1    1,000.0    2,000.0    1000");
  EXPECT_EQ(memo[3], "18               ");
  EXPECT_EQ(memo[4], "19               ");
  EXPECT_EQ(stats.ForChannel(17).Count, 2);
  EXPECT_EQ(stats.ForChannel(18).Channel, double(kNoValue));
}

TEST_F(SpikeStatisticsTest, TwoMarksGiveADeviationOfZero) {
  AddMark(18, kSpike, 1000);
  AddMark(18, kSpike, 1250);
  AddMark(19, kSpike, 100);
  AddMark(19, kSpike, 400);
  AddMark(19, kSpike, 600);
  Lines memo;
  stats.CalcSpikeStats(*s, memo);
  ASSERT_EQ(memo.size(), 4u);
  EXPECT_EQ(memo[2], "18      1    250.0    0.0    250.0    250.0    0");
  EXPECT_EQ(memo[3], "19      2    250.0    70.7    200.0    300.0    100");
}

TEST_F(SpikeStatisticsTest, OnlyMarksInTheWindowAndNoDeletedOnes) {
  s->CurBegin = 1000;
  s->CurWindow = 2000;
  AddMark(17, kSpike, 999);
  AddMark(17, kSpike, 1000);
  AddMark(17, kSpike, 3000);
  AddMark(17, kSpike, 3001);
  const int deleted = AddMark(17, kNoValue, 2000);
  s->Mark(deleted).Time = kNoValue;
  s->NrTraces = 1;
  Lines memo;
  stats.CalcSpikeStats(*s, memo);
  EXPECT_EQ(memo[1], "17      1    2,000.0    0.0    2,000.0    2,000.0    0");
}

TEST_F(SpikeStatisticsTest, AtMostAThousandTimesPerTrace) {
  s->NrTraces = 1;
  for (int i = 0; i < 1005; ++i) AddMark(17, kSpike, i < 1000 ? 10 * i : 9000 + i);
  Lines memo;
  stats.CalcSpikeStats(*s, memo);
  EXPECT_EQ(stats.ForChannel(17).Count, 999);
  EXPECT_EQ(stats.ForChannel(17).Max, 10);
}

TEST_F(SpikeStatisticsTest, SavedTextHoldsTheChannelsWithResults) {
  AddMark(17, kSpike, 1000);
  AddMark(17, kSpike, 2000);
  AddMark(17, kSpike, 4000);
  AddMark(19, kSpike, 1000);
  Lines memo;
  stats.CalcSpikeStats(*s, memo);
  testing::TempDir dir;
  const std::string path = dir.File("spikes.txt");
  testing::ScriptedUi ui;
  ui.saveDialogAnswers.push_back(Ui::FileDialogResult{path, 1});
  stats.SaveSpikeStats(*s, ui);
  EXPECT_EQ(ReadWholeFile(path),
            "trace.E01\nEleNr\tNr\tAvg\tStDev\tMin\tMax\tRange\n17\t2\t1,500.0\t707.1\t1000\t2000\t1000\n");
}

TEST_F(SpikeStatisticsTest, CancellingTheSaveWritesNothing) {
  testing::TempDir dir;
  testing::ScriptedUi ui;
  stats.SaveSpikeStats(*s, ui);
  EXPECT_EQ(ui.saveDialogs.size(), 1u);
  EXPECT_FALSE(FileExists(dir.File("spikes.txt")));
}

}  // namespace
}  // namespace velmora
