#include <gtest/gtest.h>

#include <memory>

#include "core/AnalysisState.h"
#include "core/AtomicFile.h"
#include "maps/ConnectionEdits.h"
#include "marks/MarkSaving.h"
#include "marks/MarkStore.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"

namespace velmora {
namespace {

class MarkSavingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    s->MarkFileName = dir.Write("rec.M00", "untouched");
    s->MarkFileStamp = FileStamp::Of("untouched", 0);  // as read
    s->PointerChannel = 20;
    MarkStore::AddMarkRecord(*s, 100, kSlowWave);
  }
  testing::TempDir dir;
  testing::ScriptedUi ui;
  std::unique_ptr<AnalysisState> s = std::make_unique<AnalysisState>();
};

TEST_F(MarkSavingTest, YesSavesAndGoesOn) {
  ui.answers.push_back(Ui::Answer::Yes);
  EXPECT_TRUE(MarkSaving::SaveAlert(*s, ui));
  EXPECT_EQ(ui.questions.at(0), "Some of the marks have been changed? Do you want to update these marks ?");
  EXPECT_EQ(testing::ReadFile(s->MarkFileName).size(), 4096u + 16);
  EXPECT_FALSE(s->MarksChanged);
}

TEST_F(MarkSavingTest, NoGoesOnWithoutWriting) {
  ui.answers.push_back(Ui::Answer::No);
  EXPECT_TRUE(MarkSaving::SaveAlert(*s, ui));
  EXPECT_EQ(testing::ReadFile(s->MarkFileName), "untouched");
}

TEST_F(MarkSavingTest, CancelStopsWithoutWriting) {
  ui.answers.push_back(Ui::Answer::Cancel);
  EXPECT_FALSE(MarkSaving::SaveAlert(*s, ui));
  EXPECT_EQ(testing::ReadFile(s->MarkFileName), "untouched");
  EXPECT_TRUE(s->MarksChanged);
}

TEST_F(MarkSavingTest, UnchangedMarksAskNothing) {
  s->MarksChanged = false;
  EXPECT_TRUE(MarkSaving::SaveAlert(*s, ui));
  EXPECT_TRUE(ui.questions.empty());
}

TEST_F(MarkSavingTest, AFailedSaveIsReportedAndDoesNotLetTheCallerGoOn) {
  s->MarkFileName = dir.File("no/such/folder/rec.M00");
  ui.answers.push_back(Ui::Answer::Yes);
  EXPECT_FALSE(MarkSaving::SaveAlert(*s, ui));
  EXPECT_EQ(ui.errors.size(), 1u);
  EXPECT_TRUE(s->MarksChanged);
}

TEST_F(MarkSavingTest, SaveBeepsTwentyTimesWritesAndSaysSo) {
  EXPECT_TRUE(MarkSaving::SaveMarks(*s, ui));
  EXPECT_EQ(ui.beeps, 20);
  EXPECT_EQ(ui.messages.at(0), "Marks have been saved ");
  EXPECT_FALSE(s->MarksChanged);
  EXPECT_EQ(testing::ReadFile(s->MarkFileName).size(), 4096u + 16);
}

TEST_F(MarkSavingTest, SaveWithNothingChangedWritesNothing) {
  s->MarksChanged = false;
  EXPECT_TRUE(MarkSaving::SaveMarks(*s, ui));
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(testing::ReadFile(s->MarkFileName), "untouched");
}

TEST_F(MarkSavingTest, SaveWritesChangedConnectionsBesideTheRecording) {
  s->ElgFileName = dir.File("rec.E00");
  ConnectionEdits::AppendConnection(*s, {20, 100, 21, 200, 1});
  EXPECT_TRUE(MarkSaving::SaveMarks(*s, ui));
  EXPECT_EQ(ui.messages, (std::vector<std::string>{"Marks have been saved ", "Connections have been saved "}));
  EXPECT_FALSE(s->ConnectionsChanged);
  EXPECT_NE(testing::ReadFile(dir.File("rec.C00")).find("20\t100\t21\t200\t1\r\n"), std::string::npos);
}

TEST_F(MarkSavingTest, ChangedConnectionsAloneAreAskedAboutAndSaved) {
  s->MarksChanged = false;
  s->ElgFileName = dir.File("rec.E00");
  ConnectionEdits::AppendConnection(*s, {20, 100, 21, 200, 1});
  ui.answers.push_back(Ui::Answer::Yes);
  EXPECT_TRUE(MarkSaving::SaveAlert(*s, ui));
  EXPECT_EQ(ui.questions.size(), 1u);
  EXPECT_TRUE(FileExists(dir.File("rec.C00")));
  EXPECT_EQ(testing::ReadFile(s->MarkFileName), "untouched");
  EXPECT_FALSE(s->ConnectionsChanged);
}

}  // namespace
}  // namespace velmora
