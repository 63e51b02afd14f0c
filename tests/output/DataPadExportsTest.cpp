#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/AnalysisState.h"
#include "output/DataPadExports.h"
#include "output/ElectrodeIntervals.h"
#include "support/StoreMarks.h"

namespace velmora {
namespace {

class DataPadExportsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetDefaults(s);
    s.ElgFileName = "/data/rec.E00";
    s.MatrixFileName = "/data/grid.txt";
    s.SigLength = 5000;
    s.MapRight = s.MapBottom = 100;  // a map has been drawn
  }
  void AddMark(int electrode, int kind, int time) { testing::AppendMark(s, electrode, kind, time); }
  void Place(int channel, int col, int row) {
    s.ElectrodeX[size_t(channel - 1)] = col;
    s.ElectrodeY[size_t(channel - 1)] = row;
  }

  AnalysisState s;
};

TEST_F(DataPadExportsTest, MarksTextListsEveryElectrodeOwningARecordWithoutAFinalLineEnd) {
  AddMark(7, kSlowWave, 40);
  AddMark(3, kSlowWave, 250);
  AddMark(3, kReferenceMark, 300);
  AddMark(5, kNoValue, kNoValue);  // deleted: its electrode still owns a record
  AddMark(3, kSpike, 100);
  AddMark(3, kType3, 0);
  EXPECT_EQ(DataPadExports::MarksText(s), "/data/rec.E00\n5000\n\n3\t250\t100\n5\n7\t40");
}

TEST_F(DataPadExportsTest, MarksTextWithoutMarksEndsAfterTheEmptyThirdLine) {
  EXPECT_EQ(DataPadExports::MarksText(s), "/data/rec.E00\n5000\n");
}

TEST_F(DataPadExportsTest, AMarkAtTimeZeroIsWrittenOnlyBySingleElectrogramMarks) {
  s.TraceOrder = 0;
  s.FirstChannel = 20;
  AddMark(20, kSlowWave, 0);
  AddMark(20, kSlowWave, 1000);
  AddMark(20, kReferenceMark, 1500);
  AddMark(20, kSlowWave, 3000);
  AddMark(21, kSlowWave, 900);
  EXPECT_EQ(DataPadExports::SingleElectrogramText(s), "/data/rec.E00\nEle nr: 20\n0\t1000\t1500\t3000\t\n");
  EXPECT_EQ(DataPadExports::MarksText(s), "/data/rec.E00\n5000\n\n20\t1000\t3000\n21\t900");
  EXPECT_EQ(ElectrodeIntervals::SortedTimes(s, 20), (std::vector<int32_t>{1000, 3000}));
}

TEST_F(DataPadExportsTest, AnimationIncludesBothEndsOfTheWindowAndLeavesOutElectrode256) {
  s.CurBegin = 1000;
  s.CurWindow = 500;
  AddMark(17, kSlowWave, 999);
  AddMark(17, kSlowWave, 1000);
  AddMark(255, kReferenceMark, 1200);
  AddMark(256, kSlowWave, 1200);
  AddMark(18, kNoValue, kNoValue);
  AddMark(18, kSpike, 1500);
  AddMark(18, kSpike, 1501);
  EXPECT_EQ(DataPadExports::AnimationText(s),
            "/data/rec.E00\n/data/grid.txt\n500\n17\t1\t1000\n255\t-1\t1200\n18\t2\t1500\n");
}

TEST_F(DataPadExportsTest, MatrixTextWritesSecondsByTheDigitTypeAndEmptyFieldsForCellsWithoutValue) {
  s.NrCols = 3;
  s.NrRows = 2;
  s.CurMapKind = 0;
  s.DigitType = 2;
  for (int col = 1; col <= 3; ++col)
    for (int row = 1; row <= 2; ++row) s.Cell(col, row).Value = kNoValue;
  s.Cell(1, 1).Value = 1234;
  s.Cell(3, 1).Value = -500;
  s.Cell(2, 2).Value = kAltNoValue;
  s.Cell(3, 2).Value = 60000;
  EXPECT_EQ(DataPadExports::MatrixText(s), "/data/rec.E00\n\n\t1.23\t\t-0.50\n\t\t\t60.00");
  s.DigitType = 0;
  EXPECT_EQ(DataPadExports::MatrixText(s), "/data/rec.E00\n\n\t1234\t\t-500\n\t\t\t60000");
}

TEST_F(DataPadExportsTest, MatrixTextWritesRealMapsByTheExportDigitType) {
  s.NrCols = 2;
  s.NrRows = 1;
  s.CurMapKind = 4;
  s.Cell(1, 1).Amplitude = 2.345;
  s.Cell(2, 1).Amplitude = kNoValue;
  s.ExportDigitType = 3;
  EXPECT_EQ(DataPadExports::MatrixText(s), "/data/rec.E00\n\n\t2.3\t");
  s.ExportDigitType = 0;
  s.Cell(1, 1).Amplitude = 2.5;  // rounded halves to even
  EXPECT_EQ(DataPadExports::MatrixText(s), "/data/rec.E00\n\n\t2\t");
}

TEST_F(DataPadExportsTest, ElectrogramTextWritesTwelveTracesOfTheWindowAndZeroWithoutAChannel) {
  s.TraceOrder = 0;
  s.FirstChannel = 250;  // traces 8 to 12 would show channels past 256
  s.CurBegin = 10;
  s.CurWindow = 2;
  for (int c = 250; c <= 256; ++c) {
    s.Signals[size_t(10) * kChannels + size_t(c - 1)] = c;
    s.Signals[size_t(11) * kChannels + size_t(c - 1)] = -c;
  }
  EXPECT_EQ(DataPadExports::ElectrogramText(s),
            "250\t251\t252\t253\t254\t255\t256\t0\t0\t0\t0\t0\t\n"
            "-250\t-251\t-252\t-253\t-254\t-255\t-256\t0\t0\t0\t0\t0\t\n");
}

TEST_F(DataPadExportsTest, ElectrogramTextWritesZeroForRowsPastTheStore) {
  s.TraceOrder = 0;
  s.FirstChannel = 17;
  s.CurBegin = kStartSignalRows - 1;
  s.CurWindow = 2;
  s.Signals[size_t(kStartSignalRows - 1) * kChannels + 16] = 7;
  EXPECT_EQ(DataPadExports::ElectrogramText(s), "7\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t\n"
                                                "0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t\n");
}

TEST_F(DataPadExportsTest, TolvarWritesTenBlocksOf4000RowsByTheLowestChannelOfEachCell) {
  Place(40, 1, 1);
  Place(30, 1, 1);  // the lower channel of a shared cell wins
  Place(50, 24, 10);
  s.Signals[size_t(0) * kChannels + 29] = 5;
  s.Signals[size_t(0) * kChannels + 39] = 9;
  s.Signals[size_t(3999) * kChannels + 49] = -3;
  s.Signals[size_t(4000) * kChannels + 49] = 77;  // beyond the block: never written
  EXPECT_EQ(DataPadExports::CellChannel(s, 1, 1), 30);
  EXPECT_EQ(DataPadExports::CellChannel(s, 2, 1), kNoValue);
  const std::string text = DataPadExports::TolvarText(s);
  std::string zeros;
  for (int k = 0; k < 23; ++k) zeros += "0\t";
  EXPECT_EQ(text.substr(0, zeros.size() + 3), "5\t" + zeros + "\n");
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 10 * 4001);
  EXPECT_EQ(text.substr(text.size() - zeros.size() - 8), zeros + "-3\t\nEND\n");
  size_t ends = 0;
  for (size_t at = text.find("\nEND\n"); at != std::string::npos; at = text.find("\nEND\n", at + 1)) ++ends;
  EXPECT_EQ(ends, 10u);
  EXPECT_EQ(text.find("77"), std::string::npos);
}

TEST_F(DataPadExportsTest, FixedNameExportsGoBesideTheRecording) {
  EXPECT_EQ(DataPadExports::BesideRecording(s, "Tolvar1.txt"), "/data/Tolvar1.txt");
}

}  // namespace
}  // namespace velmora
