#include <gtest/gtest.h>

#include <string>

#include "core/AnalysisState.h"
#include "core/AtomicFile.h"
#include "output/AmplitudeTable.h"
#include "output/DataPadCommands.h"
#include "output/DataPadGrid.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"
#include "support/StoreMarks.h"

namespace velmora {
namespace {

using testing::ScriptedUi;

class DataPadCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetDefaults(s);
    s.ElgFileName = dir.Write("rec.E00", "recording");
    s.MarkFileName = dir.Write("rec.M00", "marks");
    s.SigLength = 100;
    s.TraceOrder = 0;
    s.FirstChannel = 17;
    s.CurBegin = 0;
    s.CurWindow = 1;
  }
  void AddMark(int electrode, int kind, int time) { testing::AppendMark(s, electrode, kind, time); }
  void AnswerSave(const std::string& path) { ui.saveDialogAnswers.push_back(Ui::FileDialogResult{path, 1}); }

  testing::TempDir dir;
  AnalysisState s;
  ScriptedUi ui;
};

TEST_F(DataPadCommandsTest, FixedNameExportsAreWrittenBesideTheRecordingWithTheirPath) {
  const auto written = DataPadCommands::SaveElectrogramsToText(s, ui);
  ASSERT_TRUE(written.has_value());
  EXPECT_EQ(*written, dir.File("Ele12Col.txt"));
  EXPECT_EQ(testing::ReadFile(*written), "0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t\n");
  EXPECT_EQ(DataPadCommands::SaveBrenholtTolvar(s, ui).value_or(""), dir.File("Tolvar1.txt"));
  EXPECT_TRUE(ui.saveDialogs.empty());
}

TEST_F(DataPadCommandsTest, DialogExportsWriteTheChosenFileAndCancelWritesNothing) {
  AddMark(20, kSlowWave, 10);
  AnswerSave(dir.File("marks.txt"));
  EXPECT_EQ(DataPadCommands::SaveMarksToText(s, ui).value_or(""), dir.File("marks.txt"));
  EXPECT_EQ(testing::ReadFile(dir.File("marks.txt")), s.ElgFileName + "\n100\n\n20\t10");
  EXPECT_FALSE(DataPadCommands::SaveMarksToAnimationFile(s, ui).has_value());  // cancelled
  ASSERT_EQ(ui.saveDialogs.size(), 2u);
  EXPECT_EQ(ui.saveDialogs[1].title, "Marks to Animation");
  EXPECT_TRUE(ui.saveDialogs[1].filters.empty());
  AnswerSave(dir.File("matrix.txt"));
  s.MapRight = s.MapBottom = 100;  // a map has been drawn
  DataPadCommands::SaveDataInMatrixFormat(s, ui);
  ASSERT_EQ(ui.saveDialogs.size(), 3u);
  EXPECT_EQ(ui.saveDialogs[2].folder, s.ElgFileName);  // the dialog suggests the recording's name
}

TEST_F(DataPadCommandsTest, AMatrixExportBeforeAnyMapIsRefusedWithoutAskingForAFile) {
  AnswerSave(dir.File("matrix.txt"));
  EXPECT_FALSE(DataPadCommands::SaveDataInMatrixFormat(s, ui).has_value());
  EXPECT_TRUE(ui.saveDialogs.empty());
  EXPECT_EQ(ui.beeps, 1);
  ASSERT_EQ(ui.errors.size(), 1u);
  EXPECT_EQ(ui.errors[0], "There is no map to write: show a map first.");
  EXPECT_FALSE(FileExists(dir.File("matrix.txt")));
}

TEST_F(DataPadCommandsTest, AnExportNeverReplacesTheRecordingOrItsMarkFile) {
  AnswerSave(s.ElgFileName);
  AnswerSave(dir.File("./rec.M00"));
  EXPECT_FALSE(DataPadCommands::SaveSingleEleMarks(s, ui).has_value());
  EXPECT_FALSE(DataPadCommands::SaveSingleEleMarks(s, ui).has_value());
  EXPECT_EQ(testing::ReadFile(s.ElgFileName), "recording");
  EXPECT_EQ(testing::ReadFile(s.MarkFileName), "marks");
  ASSERT_EQ(ui.errors.size(), 2u);
  EXPECT_NE(ui.errors[0].find(s.ElgFileName), std::string::npos);
}

TEST_F(DataPadCommandsTest, ARefusedAllMarksExportAsksForNoFileAndKeepsAnEarlierOne) {
  const std::string earlier = dir.Write("ele20.txt", "good");
  AddMark(20, kSlowWave, 1000);
  AnswerSave(earlier);
  EXPECT_FALSE(DataPadCommands::SaveAllMarksinThisEle(s, ui, 20).has_value());
  EXPECT_TRUE(ui.saveDialogs.empty());
  EXPECT_EQ(ui.beeps, 1);
  ASSERT_EQ(ui.errors.size(), 1u);
  EXPECT_EQ(testing::ReadFile(earlier), "good");
  AddMark(20, kSlowWave, 2000);
  EXPECT_EQ(DataPadCommands::SaveAllMarksinThisEle(s, ui, 20).value_or(""), earlier);
  EXPECT_EQ(testing::ReadFile(earlier).substr(0, s.ElgFileName.size() + 9), s.ElgFileName + "\nEle: 20\n");
}

TEST_F(DataPadCommandsTest, AnImportWithABadLineAddsNothingAndNamesTheLine) {
  AddMark(99, kSlowWave, 5);
  const std::string file = dir.Write("in.txt", "7\n/g.txt\n1000\n3\n0\n\n\n20 100 1 0 0\n21 200 1 0 0\n22 x 1 0 0\n");
  ui.openDialogAnswers.push_back(Ui::FileDialogResult{file, 1});
  EXPECT_FALSE(DataPadCommands::ReadMarksFromTextFile(s, ui));
  EXPECT_EQ(s.MarkCount, 1);
  EXPECT_NE(s.MatrixFileName, "/g.txt");
  ASSERT_EQ(ui.errors.size(), 1u);
  EXPECT_NE(ui.errors[0].find(file + ": line 10:"), std::string::npos) << ui.errors[0];

  // A file naming another grid adds its marks to the recording's grid, and says so.
  s.MatrixFileName = "/lab/grid.txt";
  const std::string good = dir.Write("good.txt", "7\n/g.txt\n1000\n1\n0\n\n\n20 100 1 0 0\n");
  ui.openDialogAnswers.push_back(Ui::FileDialogResult{good, 1});
  EXPECT_TRUE(DataPadCommands::ReadMarksFromTextFile(s, ui));
  EXPECT_EQ(s.MarkCount, 2);
  EXPECT_EQ(s.MatrixFileName, "/lab/grid.txt");
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].rfind("good.txt names the matrix g.txt;", 0), 0u) << ui.messages[0];
}

TEST_F(DataPadCommandsTest, AmplitudeTableListsSlowWavesWithAComputedAmplitude) {
  AddMark(20, kSlowWave, 1000);
  AddMark(21, kSpike, 1100);
  AddMark(22, kSlowWave, 1200);
  AddMark(23, kSlowWave, 1300);
  s.MarkAmplitudes[0] = AmplitudeRecord{20, 800, 0, -694, 0, 0, 0.0, kNoValue};  // 1494 units = 2 mV
  s.MarkAmplitudes[1] = AmplitudeRecord{21, 800, 0, 0, 0, 0, 0.0, kNoValue};
  s.MarkAmplitudes[3] = AmplitudeRecord{23, 747000, 0, 0, 0, 0, 0.0, kNoValue};
  DataPadGrid grid;
  grid.SetCell(1, 3, "stale");
  AmplitudeTable::Write(s, grid);
  const char* expected[3][6] = {{"", "signalnr", "Ampl", "MaxAmpl", "MinAmpl", "time"},
                                {"", "20", "2.00", "800", "-694", "1000"},
                                {"", "23", "1,000.00", "747000", "0", "1300"}};
  for (int row = 0; row < 3; ++row)
    for (int col = 1; col <= 5; ++col) EXPECT_EQ(grid.Cell(col, row), expected[row][col]) << row << ":" << col;
  EXPECT_EQ(grid.Cell(1, 3), "");
  EXPECT_EQ(AmplitudeTable::MillivoltText(-1234567.891), "-1,234,567.89");
  EXPECT_EQ(AmplitudeTable::MillivoltText(999.999), "1,000.00");
  EXPECT_EQ(AmplitudeTable::MillivoltText(-0.001), "0.00");
}

TEST_F(DataPadCommandsTest, InitializingThePadKeepsTheTableAndNamesTheRecording) {
  DataPadGrid grid;
  EXPECT_EQ(grid.RowCount(), 300);
  EXPECT_EQ(grid.ColumnCount(), 7);
  grid.SetCell(2, 400, "kept");
  grid.Initialize(s.ElgFileName);
  EXPECT_EQ(grid.Cell(0, 0), s.ElgFileName);
  EXPECT_EQ(grid.RowCount(), 401);
  EXPECT_EQ(grid.Cell(2, 400), "kept");
}

}  // namespace
}  // namespace velmora
