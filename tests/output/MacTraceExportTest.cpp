#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "maps/MapFixture.h"
#include "output/ExportRefused.h"
#include "output/MacExport.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"

namespace velmora {
namespace {

// Three sequential traces from channel 17 over samples 3..5 (window 2 + 3 ms) of a 10-sample
// recording. Amplification 0.01 makes a line -value / 5, rounded.
class MacSignalsExport : public testing::MapFixture {
 protected:
  void SetUp() override {
    MapFixture::SetUp();
    s->SigLength = 10;
    s->SamplingF = 1000;
    s->SamplingFChanged = false;
    s->Amplification = 0.01;
    s->TraceOrder = 0;
    s->FirstChannel = 17;
    s->NrTraces = 3;
    s->CurBegin = 2;
    s->CurWindow = 3;
    for (int row = 0; row < 12; ++row) {
      s->Signal(row, 16) = 100 * (row + 1);  // channel 17: sample n is 100 n
      s->Signal(row, 17) = -13 * (row + 1);  // channel 18
      s->Signal(row, 18) = 37;               // channel 19
    }
  }
};

TEST_F(MacSignalsExport, OneTraceObjectPerTraceAndMarksWhereTheTraceHasThem) {
  s->ReferenceTime = 1;
  AddMark(17, 1, 1);              // before the window
  AddMark(18, 1, 5);              // at the window's end
  AddMark(18, 2, 2);              // at its begin
  AddMark(18, -1, 4);             // reference marks go too
  AddMark(18, s->NoValue, 3);     // deleted
  AddMark(18, 1, 6);              // after the window
  const std::string expected =
      "4\n"
      "2 3\n-60\n-80\n-100\n"
      "2 3\n8\n10\n13\n"
      "4 3\n4 50 -50 4\n1 50 -50 1\n3 50 -50 3\n"
      "2 3\n-7\n-7\n-7\n";
  EXPECT_EQ(MacExport::SignalsText(*s), expected);
  EXPECT_EQ(s->TraceFirstSample, 2);
  EXPECT_EQ(s->TraceLastSample, 5);
}

TEST_F(MacSignalsExport, SampleRangeStopsAtTheSignalEnd) {
  s->NrTraces = 1;
  s->CurBegin = 8;
  s->CurWindow = 5;
  EXPECT_EQ(MacExport::SignalsText(*s), "1\n2 2\n-180\n-200\n");
  EXPECT_EQ(s->TraceLastSample, 10);

  s->CurBegin = 20;  // wholly past the end: empty objects, never a negative line count
  EXPECT_EQ(MacExport::SignalsText(*s), "1\n2 0\n");
}

TEST_F(MacSignalsExport, ChangedSamplingFrequencyCountsInSamplesUpTo20000) {
  s->NrTraces = 1;
  s->SamplingFChanged = true;
  s->SamplingF = 2000;
  s->CurBegin = 1;
  s->CurWindow = 2;
  EXPECT_EQ(MacExport::SignalsText(*s), "1\n2 4\n-60\n-80\n-100\n-120\n");
  EXPECT_EQ(s->ImportNrSamples, 20000);

  s->CurBegin = 0;
  s->CurWindow = 15000;
  const std::string text = MacExport::SignalsText(*s);
  EXPECT_EQ(text.substr(0, 10), "1\n2 20000\n");
  EXPECT_EQ(s->TraceFirstSample, 0);
  EXPECT_EQ(s->TraceLastSample, 20000);
}

TEST_F(MacSignalsExport, ATraceWithoutAChannelIsFlat) {
  s->FirstChannel = 255;  // traces show 255, 256 and no channel
  s->Signal(2, 254) = 5;
  s->Signal(3, 255) = -10;
  EXPECT_EQ(MacExport::SignalsText(*s), "3\n2 3\n-1\n0\n0\n2 3\n0\n2\n0\n2 3\n0\n0\n0\n");
}

// Channel 20 at column 1 row 1, 17 at column 1 row 2, 18 at column 2 row 1; column 2 row 2
// holds no electrode. Window rows 1..4 (samples 2..5).
class MacEleMapExport : public testing::MapFixture {
 protected:
  void SetUp() override {
    MapFixture::SetUp();
    s->NrCols = 2;
    s->NrRows = 2;
    s->MapLeft = s->MapTop = 0;
    s->Amplification = 0.01;
    s->CurBegin = 1;
    s->CurWindow = 4;
    Place(20, 1, 1);
    Place(17, 1, 2);
    Place(18, 2, 1);
    for (int row = 0; row < 6; ++row) {
      s->Signal(row, 16) = 10 * row;  // channel 17: 10 20 30 40 in the window, mean 25
      s->Signal(row, 17) = 7;
      s->Signal(row, 19) = row == 2 ? 45 : 5;  // channel 20: mean 15
    }
  }
  testing::ScriptedUi ui;
};

TEST_F(MacEleMapExport, OneObjectPerElectrodeColumnByColumnAroundTheWindowMean) {
  const std::string expected =
      "3\n"
      "8 5\n20 1 1\n2500 200\n5000 -600\n7500 200\n10000 200\n"
      "8 5\n17 1 2\n2500 300\n5000 100\n7500 -100\n10000 -300\n"
      "8 5\n18 2 1\n2500 0\n5000 0\n7500 0\n10000 0\n";
  EXPECT_EQ(MacExport::EleMapText(*s, 200, 100, ui), expected);
  EXPECT_EQ(ui.log, (std::vector<std::string>{" beginsig = 1", " windowsig = 4"}));
  EXPECT_EQ(s->CellWidth, 50);  // the map extent is laid out for the pane given
  EXPECT_EQ(s->MapRight, 100);
  EXPECT_EQ(s->MapBottom, 100);
}

TEST_F(MacEleMapExport, HorizontalStepRunsInHundredthsAcrossTheWindow) {
  s->NrCols = s->NrRows = 1;
  s->CurWindow = 3;
  const std::string text = MacExport::EleMapText(*s, 100, 100, ui);
  EXPECT_EQ(text, "1\n8 4\n20 1 1\n3333 300\n6667 -500\n10000 300\n");
}

TEST_F(MacEleMapExport, RowsPastTheStoreReadAsZero) {
  s->NrCols = s->NrRows = 1;
  s->CurBegin = kStartSignalRows - 2;  // the last two rows, then two the store does not have
  s->Signal(kStartSignalRows - 2, 19) = 40;
  s->Signal(kStartSignalRows - 1, 19) = 40;
  EXPECT_EQ(MacExport::EleMapText(*s, 100, 100, ui), "1\n8 5\n20 1 1\n2500 -400\n5000 -400\n7500 400\n10000 400\n");
}

TEST_F(MacEleMapExport, AnEmptyWindowIsRefused) {
  s->CurWindow = 0;
  EXPECT_THROW(MacExport::EleMapText(*s, 200, 100, ui), ExportRefused);
}

TEST_F(MacEleMapExport, OkAsksForTheRecordingsNameAndWritesTheChosenCopy) {
  testing::TempDir dir;
  s->ElgFileName = dir.File("REC.E00");
  const std::string target = dir.Write("chosen.txt", "old");
  ui.saveDialogAnswers.push_back(Ui::FileDialogResult{target, 1});
  const std::optional<std::string> written = MacExport::SaveCopy(*s, ui, MacExport::Item::EleMap, 200, 100);
  ASSERT_EQ(ui.saveDialogs.size(), 1u);
  EXPECT_EQ(ui.saveDialogs[0].folder, dir.File("REC.TXT"));
  EXPECT_EQ(written, target);
  testing::ScriptedUi quiet;
  EXPECT_EQ(testing::ReadFile(target), MacExport::EleMapText(*s, 200, 100, quiet));

  // Cancel writes nothing.
  EXPECT_EQ(MacExport::SaveCopy(*s, ui, MacExport::Item::Electrograms, 200, 100), std::nullopt);
  EXPECT_FALSE(std::filesystem::exists(dir.File("REC.TXT")));
  EXPECT_EQ(testing::ReadFile(target), MacExport::EleMapText(*s, 200, 100, quiet));
}

}  // namespace
}  // namespace velmora
