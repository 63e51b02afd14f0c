#include <gtest/gtest.h>

#include <memory>

#include "core/AnalysisState.h"
#include "marks/MarkStore.h"
#include "marks/ReferenceTable.h"
#include "support/ScriptedUi.h"

namespace velmora {
namespace {

class ReferenceTableTest : public ::testing::Test {
 protected:
  void SetUp() override { s->SigLength = 5000; }
  void Add(int electrode, int kind, int time) {
    s->PointerChannel = electrode;
    MarkStore::AddMarkRecord(*s, time, kind);
  }
  testing::ScriptedUi ui;
  std::unique_ptr<AnalysisState> s = std::make_unique<AnalysisState>();
};

TEST_F(ReferenceTableTest, WithoutReferenceMarksOneRowStandsForNoReference) {
  Add(40, kSlowWave, 300);
  ReferenceTable table(*s, ui);
  ASSERT_EQ(table.RefCount(), 1);
  const auto rows = table.GridRows();
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0][0], "Nr 1");
  EXPECT_EQ(rows[0][1], "0");
  EXPECT_EQ(rows[0][2], "0");
}

TEST_F(ReferenceTableTest, ListsReferenceMarksInStoreOrderAndStopsAtOneHundredEntries) {
  for (int n = 0; n < 120; ++n) Add(17 + n % 200, kReferenceMark, 10 * n);
  ReferenceTable table(*s, ui);
  ASSERT_EQ(table.RefCount(), ReferenceTable::kMaxEntries);
  EXPECT_EQ(table.Entries()[1], (ReferenceEntry{17, 0}));
  EXPECT_EQ(table.Entries()[99], (ReferenceEntry{17 + 98, 980}));
}

TEST_F(ReferenceTableTest, ChoosingAnEntryAndOkShiftsEveryTimeToIt) {
  Add(40, kReferenceMark, 1200);
  ReferenceTable table(*s, ui);
  table.RefGridSelectCell(1);
  s->WavesStale = false;
  table.TakeChosenReference();
  EXPECT_EQ(s->ReferenceTime, 1200);
  EXPECT_EQ(s->ReferenceElectrode, 40);
  EXPECT_TRUE(s->WavesStale);
  table.RefGridSelectCell(0);
  table.TakeChosenReference();
  EXPECT_EQ(s->ReferenceTime, 0);
  EXPECT_EQ(s->ReferenceElectrode, 0);
}

TEST_F(ReferenceTableTest, ATypedNumberOutsideTheListIsRefusedAndChangesNothing) {
  Add(40, kReferenceMark, 1200);
  ReferenceTable table(*s, ui);
  ASSERT_TRUE(table.InsertRefNrChange(2));
  for (int64_t bad : {0, 3}) {
    EXPECT_FALSE(table.InsertRefNrChange(bad));
    EXPECT_EQ(table.Chosen(), (ReferenceEntry{40, 1200}));
  }
  EXPECT_EQ(ui.beeps, 2);
  ASSERT_EQ(ui.messages.size(), 2u);
  EXPECT_EQ(ui.messages[0], "Reference number is not in the available range");
  EXPECT_EQ(ui.messageCaptions, (std::vector<std::string>(2, "Invalid Reference Number")));
}

struct InsertCase {
  int64_t electrode, time;
  bool accepted;
  int messages;
};

TEST_F(ReferenceTableTest, InsertChecksElectrodeAndTimeAndReportsBothProblems) {
  const InsertCase cases[] = {{16, 100, false, 1}, {17, 0, true, 0},    {256, 5000, true, 0},
                              {257, 10, false, 1}, {30, -1, false, 1},  {30, 5001, false, 1},
                              {16, 5001, false, 2}};
  for (const InsertCase& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.electrode << ":" << c.time);
    testing::ScriptedUi said;
    ReferenceTable table(*s, said);
    const int before = table.RefCount();
    EXPECT_EQ(table.InsertReference(c.electrode, c.time), c.accepted);
    EXPECT_EQ(table.RefCount(), before + (c.accepted ? 1 : 0));
    EXPECT_EQ(int(said.messages.size()), c.messages);
    EXPECT_EQ(said.beeps, c.messages);
  }
  testing::ScriptedUi said;
  ReferenceTable(*s, said).InsertReference(16, 5001);
  EXPECT_EQ(said.messages[0], "Electrode Number must be in the 17 - 256 range !");
  EXPECT_EQ(said.messages[1], "Reference time must be in the 0 - 5000 range !");
}

TEST_F(ReferenceTableTest, DeleteRemovesEveryMarkAtTheEntrysElectrodeAndTime) {
  Add(40, kReferenceMark, 1200);
  Add(40, kReferenceMark, 1200);
  Add(40, kSlowWave, 1200);
  Add(40, kSlowWave, 1300);
  Add(41, kSlowWave, 1200);
  ReferenceTable table(*s, ui);
  table.RefGridSelectCell(1);
  s->MarksChanged = false;
  ASSERT_TRUE(table.DeleteReference());
  EXPECT_EQ(table.RefCount(), 1);
  for (int n = 1; n <= 3; ++n) {
    EXPECT_EQ(s->Mark(n).Kind, kNoValue);
    EXPECT_EQ(s->Mark(n).Time, -1);
  }
  EXPECT_EQ(s->Mark(4).Kind, kSlowWave);
  EXPECT_EQ(s->Mark(5).Kind, kSlowWave);
  EXPECT_TRUE(s->MarksChanged);
}

TEST_F(ReferenceTableTest, TheNoReferenceEntryIsNeverDeleted) {
  Add(40, kReferenceMark, 1200);
  ReferenceTable table(*s, ui);
  EXPECT_FALSE(table.DeleteReference());
  table.RefGridSelectCell(0);
  EXPECT_FALSE(table.DeleteReference());
  EXPECT_EQ(table.RefCount(), 2);
  EXPECT_EQ(s->Mark(1).Kind, kReferenceMark);
}

TEST_F(ReferenceTableTest, ReferenceTimePromptAsksAgainWhileNegativeAndCancelKeepsTheTime) {
  s->ReferenceTime = 300;
  ui.inputs = {std::string("-5"), std::string("700")};
  EXPECT_TRUE(ReferenceTable::ReferenceTime1Click(*s, ui));
  EXPECT_EQ(s->ReferenceTime, 700);
  EXPECT_EQ(ui.beeps, 1);
  ASSERT_EQ(ui.prompts.size(), 2u);
  EXPECT_EQ(ui.prompts[0].caption, "Change RefTime");
  EXPECT_EQ(ui.prompts[0].prompt, "Give new RefTime:");
  EXPECT_EQ(ui.prompts[0].value, "300");
  EXPECT_FALSE(ReferenceTable::ReferenceTime1Click(*s, ui));
  EXPECT_EQ(s->ReferenceTime, 700);
}

}  // namespace
}  // namespace velmora
