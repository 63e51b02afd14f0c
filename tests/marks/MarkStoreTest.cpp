#include <gtest/gtest.h>

#include <memory>

#include "core/AnalysisState.h"
#include "marks/MarkStore.h"
#include "support/ScriptedUi.h"

namespace velmora {
namespace {

class MarkStoreTest : public ::testing::Test {
 protected:
  void Add(int electrode, int kind, int time) {
    s->PointerChannel = electrode;
    MarkStore::AddMarkRecord(*s, time, kind);
  }
  testing::ScriptedUi ui;
  std::unique_ptr<AnalysisState> s = std::make_unique<AnalysisState>();
};

TEST_F(MarkStoreTest, AddingTakesPointerChannelAndOriginAndFlagsTheChange) {
  s->PointerChannel = 33;
  s->MarkOrigin = kAutomatic;
  s->WavesStale = false;
  ASSERT_TRUE(MarkStore::AddMarkRecord(*s, 1500, kSpike));
  const MarkRecord& mark = s->Mark(1);
  EXPECT_EQ(mark.Electrode, 33);
  EXPECT_EQ(mark.Kind, kSpike);
  EXPECT_EQ(mark.Time, 1500);
  EXPECT_EQ(mark.Origin, kAutomatic);
  EXPECT_EQ(mark.SerialNr, 1);
  EXPECT_EQ(mark.Visible, 1);
  EXPECT_TRUE(s->MarksChanged);
  EXPECT_TRUE(s->WavesStale);
}

// A long recording gets more marks than a fresh store has slots: the store grows, with an
// amplitude record beside every slot, and only the mark limit refuses.
TEST_F(MarkStoreTest, TheStoreGrowsPastItsFirstSlotsAndRefusesOnlyAtTheLimit) {
  for (int n = 1; n <= kStartMarkSlots + 2; ++n) Add(17 + n % 240, kSlowWave, n);
  ASSERT_EQ(s->MarkCount, kStartMarkSlots + 2);
  EXPECT_EQ(s->Mark(kStartMarkSlots + 2).Time, kStartMarkSlots + 2);
  EXPECT_EQ(s->Mark(kStartMarkSlots).Time, kStartMarkSlots);
  EXPECT_GE(s->MarkAmplitudes.size(), size_t(s->MarkCount));
  s->MarkCount = kMaxMarks;
  EXPECT_FALSE(MarkStore::AddMarkRecord(*s, 1, 1));
  EXPECT_EQ(s->MarkCount, kMaxMarks);
}

TEST_F(MarkStoreTest, RemoveTimeDeletesKindAndReferencesInTheClosedWindow) {
  Add(20, kSlowWave, 100);
  Add(20, kReferenceMark, 150);
  Add(20, kSpike, 160);
  Add(20, kSlowWave, 200);
  Add(21, kSlowWave, 150);
  Add(20, kSlowWave, 201);
  EXPECT_EQ(MarkStore::RemoveTime(*s, ui, 20, kSlowWave, 100, 200), 200);
  EXPECT_EQ(s->MarkCount, 6);
  EXPECT_EQ(s->Mark(1).Kind, kNoValue);
  EXPECT_EQ(s->Mark(1).Time, kNoValue);
  EXPECT_EQ(s->Mark(1).Electrode, 20);
  EXPECT_EQ(s->Mark(2).Kind, kNoValue);  // the reference goes too
  EXPECT_EQ(s->Mark(3).Kind, kSpike);
  EXPECT_EQ(s->Mark(5).Kind, kSlowWave);  // another electrode
  EXPECT_EQ(s->Mark(6).Kind, kSlowWave);  // just outside
  EXPECT_EQ(ui.log.size(), 5u);           // one line per mark of the electrode visited
  EXPECT_EQ(ui.log[0], " found it =100");
  EXPECT_EQ(MarkStore::RemoveTime(*s, ui, 20, kSlowWave, 100, 200), kNoValue);
}

TEST_F(MarkStoreTest, SwitchSwapsSlowWavesAndSpikesOnly) {
  Add(20, kSlowWave, 100);
  Add(20, kSpike, 120);
  Add(20, kReferenceMark, 110);
  Add(20, kType3, 130);
  EXPECT_TRUE(MarkStore::SwitchAttribute(*s, ui, 20, 0, 200));
  EXPECT_EQ(s->Mark(1).Kind, kSpike);
  EXPECT_EQ(s->Mark(2).Kind, kSlowWave);
  EXPECT_EQ(s->Mark(3).Kind, kReferenceMark);
  EXPECT_EQ(s->Mark(4).Kind, kType3);
}

TEST_F(MarkStoreTest, SwitchOnAReferenceChangesNothing) {
  Add(20, kReferenceMark, 110);
  EXPECT_FALSE(MarkStore::SwitchAttribute(*s, ui, 20, 0, 200));
}

TEST_F(MarkStoreTest, TheUndoListKeepsTheNewest100) {
  for (int i = 1; i <= 101; ++i) MarkStore::StoreUndo(*s, i, kSlowWave, 17);
  EXPECT_EQ(s->UndoCount, 100);
  EXPECT_EQ(s->UndoList[0].Time, 101);
  EXPECT_EQ(s->UndoList[99].Time, 2);  // the oldest was pushed out
}

TEST_F(MarkStoreTest, UndoAddsTheNewestDeletedMarkAgainWithItsKind) {
  MarkStore::StoreUndo(*s, 500, kSlowWave, 30);
  MarkStore::StoreUndo(*s, 700, kReferenceMark, 31);
  s->MarkOrigin = kAutomatic;
  ASSERT_TRUE(MarkStore::UndoDeletedMark(*s));
  EXPECT_EQ(s->UndoCount, 1);
  EXPECT_EQ(s->Mark(1).Electrode, 31);
  EXPECT_EQ(s->Mark(1).Time, 700);
  EXPECT_EQ(s->Mark(1).Kind, kReferenceMark);
  EXPECT_EQ(s->Mark(1).Origin, kAutomatic);
  ASSERT_TRUE(MarkStore::UndoDeletedMark(*s));
  EXPECT_EQ(s->Mark(2).Electrode, 30);
  EXPECT_FALSE(MarkStore::UndoDeletedMark(*s));
  EXPECT_EQ(s->MarkCount, 2);
}

TEST_F(MarkStoreTest, HideMatchesTheTimeRelativeToTheReference) {
  Add(20, kSlowWave, 1500);
  Add(20, kSlowWave, 2500);
  Add(21, kSlowWave, 1500);
  s->ReferenceTime = 1000;
  EXPECT_EQ(MarkStore::HideMarks(*s, 20, 500), 1);
  EXPECT_EQ(s->Mark(1).Visible, 0);
  EXPECT_EQ(s->Mark(2).Visible, 1);
  EXPECT_EQ(s->Mark(3).Visible, 1);
  MarkStore::HideMarks(*s, 21, 500);
  MarkStore::UnhideElectrode(*s, 20);
  EXPECT_EQ(s->Mark(1).Visible, 1);
  EXPECT_EQ(s->Mark(3).Visible, 0);
  MarkStore::UnhideAll(*s);
  EXPECT_EQ(s->Mark(3).Visible, 1);
}

TEST_F(MarkStoreTest, StatisticsCountKindsAndOriginsButNotDeletedSlots) {
  Add(20, kReferenceMark, 1);
  Add(20, kSlowWave, 2);
  s->MarkOrigin = kAutomatic;
  Add(20, kSlowWave, 3);
  Add(20, kSpike, 4);
  Add(20, kType3, 5);
  Add(21, kSlowWave, 6);
  MarkStore::RemoveTime(*s, ui, 21, kSlowWave, 0, 10);
  const MarkStatistics stats = MarkStore::CountMarks(*s);
  EXPECT_EQ(stats.references, 1);
  EXPECT_EQ(stats.slowWaves, 2);
  EXPECT_EQ(stats.slowWavesManual, 1);
  EXPECT_EQ(stats.slowWavesAutomatic, 1);
  EXPECT_EQ(stats.spikes, 1);
  EXPECT_EQ(stats.spikesAutomatic, 1);
  EXPECT_EQ(stats.spikesManual, 0);
}

}  // namespace
}  // namespace velmora
