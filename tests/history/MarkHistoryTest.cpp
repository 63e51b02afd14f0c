#include "history/MarkHistory.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "core/AnalysisState.h"
#include "marks/MarkStore.h"
#include "support/ScriptedUi.h"

namespace velmora {
namespace {

// What undo and redo must give back exactly.
struct StoreSnapshot {
  std::vector<MarkRecord> marks;
  int32_t count = 0;
  bool changed = false;
  DeletedMarksList deleted;
};

StoreSnapshot Snapshot(const AnalysisState& s) { return {s.Marks, s.MarkCount, s.MarksChanged, DeletedMarksOf(s)}; }

void ExpectSameStore(const StoreSnapshot& expected, const AnalysisState& s, const std::string& where) {
  ASSERT_EQ(s.MarkCount, expected.count) << where;
  EXPECT_EQ(s.MarksChanged, expected.changed) << where;
  EXPECT_TRUE(DeletedMarksOf(s) == expected.deleted) << where;
  ASSERT_EQ(s.Marks.size(), expected.marks.size()) << where;
  for (size_t i = 0; i < s.Marks.size(); ++i) {
    const MarkRecord& a = s.Marks[i];
    const MarkRecord& b = expected.marks[i];
    ASSERT_TRUE(SameMarkFields(a, b) && a.Connected == b.Connected) << where << ", slot " << i + 1;
  }
}

class MarkHistoryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetDefaults(s);
    Add(17, 1000, kSlowWave);
    Add(18, 1100, kSpike);
    s.MarksChanged = false;
    history.Reset(s);
  }
  void Add(int electrode, int time, int kind) {
    s.PointerChannel = electrode;
    MarkStore::AddMarkRecord(s, time, kind);
  }
  // The edits the keys, menus and windows make, each as one command.
  std::string RandomEdit(std::mt19937& random) {
    auto pick = [&random](int from, int to) { return std::uniform_int_distribution<int>(from, to)(random); };
    const int electrode = pick(17, 22);
    s.MarkOrigin = int16_t(pick(1, 2));
    switch (pick(0, 7)) {
      case 0:
        Add(electrode, pick(0, 5000), pick(1, 3));
        return "mark";
      case 1:
        for (int e = 17; e <= 22; ++e) Add(e, pick(0, 5000), kSlowWave);
        return "automatic marking";
      case 2: {
        const int32_t t = pick(0, 5000);
        for (const DeletedMark& mark : MarkStore::RemoveMarks(s, ui, electrode, pick(1, 3), t - 800, t + 800))
          MarkStore::StoreUndo(s, mark.time, mark.kind, electrode);
        s.MarksChanged = true;
        return "delete mark";
      }
      case 3:
        s.MarksChanged |= MarkStore::SwitchAttribute(s, ui, electrode, 0, 5000);
        return "switch";
      case 4:
        MarkStore::UndoDeletedMark(s);
        return "undo deleted mark";
      case 5:
        MarkStore::HideMarks(s, electrode, s.MarkCount > 0 ? s.Mark(pick(1, s.MarkCount)).Time : 0);
        return "hide marks";
      case 6:
        MarkStore::UnhideAll(s);
        return "unhide marks";
      default:
        MarkStore::RemoveTime(s, ui, electrode, kSlowWave, 0, 5000);
        s.MarksChanged = true;
        return "delete slow waves";
    }
  }

  std::unique_ptr<AnalysisState> state = std::make_unique<AnalysisState>();
  AnalysisState& s = *state;
  testing::ScriptedUi ui;
  MarkHistory history;
};

TEST_F(MarkHistoryTest, UndoingAndRedoingARandomSequenceGivesBackEveryStoreExactly) {
  for (const unsigned seed : {1u, 7u, 2024u}) {
    SetUp();
    std::mt19937 random(seed);
    std::vector<StoreSnapshot> snapshots = {Snapshot(s)};
    std::vector<std::string> names;
    for (int i = 0; i < 200; ++i) {
      const std::string name = RandomEdit(random);
      if (!history.Commit(s, name)) {
        // Nothing but the changed flag may change without a step; undo gives back that flag.
        snapshots.back().changed = s.MarksChanged;
        ExpectSameStore(snapshots.back(), s, "edit " + std::to_string(i) + " without a step");
        continue;
      }
      snapshots.push_back(Snapshot(s));
      names.push_back(name);
    }
    ASSERT_GT(names.size(), 100u) << seed;
    for (size_t step = names.size(); step > 0; --step) {
      EXPECT_EQ(history.UndoName(), names[step - 1]);
      ASSERT_TRUE(history.Undo(s));
      ExpectSameStore(snapshots[step - 1], s, "undo to " + std::to_string(step - 1) + ", seed " + std::to_string(seed));
    }
    EXPECT_FALSE(history.Undo(s));
    for (size_t step = 1; step <= names.size(); ++step) {
      EXPECT_EQ(history.RedoName(), names[step - 1]);
      ASSERT_TRUE(history.Redo(s));
      ExpectSameStore(snapshots[step], s, "redo to " + std::to_string(step) + ", seed " + std::to_string(seed));
    }
    EXPECT_FALSE(history.Redo(s));
  }
}

TEST_F(MarkHistoryTest, ANewEditMakesRedoImpossible) {
  Add(19, 1200, kSlowWave);
  history.Commit(s, "mark");
  Add(20, 1300, kSlowWave);
  history.Commit(s, "mark");
  ASSERT_TRUE(history.Undo(s));
  ASSERT_TRUE(history.CanRedo());
  MarkStore::SwitchAttribute(s, ui, 17, 0, 5000);
  ASSERT_TRUE(history.Commit(s, "switch"));
  EXPECT_FALSE(history.CanRedo());
  EXPECT_FALSE(history.Redo(s));
  EXPECT_EQ(s.MarkCount, 3);
  EXPECT_EQ(s.Mark(1).Kind, kSpike);
}

TEST_F(MarkHistoryTest, AnEditNotYetCommittedIsUndoneFirstAndEndsRedo) {
  Add(19, 1200, kSlowWave);
  history.Commit(s, "mark");
  ASSERT_TRUE(history.Undo(s));
  Add(20, 1300, kSlowWave);  // no command end came
  EXPECT_FALSE(history.Redo(s));
  EXPECT_EQ(s.MarkCount, 3);
  ASSERT_TRUE(history.Undo(s));
  EXPECT_EQ(s.MarkCount, 2);
}

TEST_F(MarkHistoryTest, CommandsThatChangeNoMarkMakeNoStep) {
  MarkStore::RemoveTime(s, ui, 30, kSlowWave, 0, 5000);  // "K" on an electrode without marks
  s.MarksChanged = true;
  s.Mark(1).Connected = 1;  // connections are made apart from the marks
  EXPECT_FALSE(history.Commit(s, "delete slow waves"));
  EXPECT_FALSE(history.CanUndo());
}

TEST_F(MarkHistoryTest, UndoLeavesTheConnectionFlagsAlone) {
  MarkStore::SwitchAttribute(s, ui, 17, 0, 5000);
  history.Commit(s, "switch");
  s.Mark(1).Connected = 1;
  ASSERT_TRUE(history.Undo(s));
  EXPECT_EQ(s.Mark(1).Kind, kSlowWave);
  EXPECT_EQ(s.Mark(1).Connected, 1);
}

// Marks are changed exactly when they differ from what the mark file holds.
TEST_F(MarkHistoryTest, UndoingPastASaveMakesTheMarksChangedAndComingBackUnchanged) {
  Add(19, 1200, kSlowWave);
  history.Commit(s, "mark");
  Add(20, 1300, kSlowWave);
  history.Commit(s, "mark");
  s.MarksChanged = false;  // saved
  history.Settle(s);
  ASSERT_TRUE(history.Undo(s));
  EXPECT_TRUE(s.MarksChanged);
  ASSERT_TRUE(history.Undo(s));
  EXPECT_TRUE(s.MarksChanged);
  ASSERT_TRUE(history.Redo(s));
  ASSERT_TRUE(history.Redo(s));
  EXPECT_FALSE(s.MarksChanged);
}

TEST_F(MarkHistoryTest, UndoingADeletionTakesItsEntryOffTheDeletedMarksList) {
  MarkStore::RemoveMarks(s, ui, 17, kSlowWave, 0, 5000);
  MarkStore::StoreUndo(s, 1000, kSlowWave, 17);
  history.Commit(s, "delete mark");
  ASSERT_TRUE(history.Undo(s));
  EXPECT_EQ(s.UndoCount, 0);
  EXPECT_EQ(s.Mark(1).Time, 1000);
  EXPECT_FALSE(MarkStore::UndoDeletedMark(s));  // the mark is back once, not twice
}

TEST_F(MarkHistoryTest, ALoadForgetsEverything) {
  Add(19, 1200, kSlowWave);
  history.Commit(s, "mark");
  history.Reset(s);
  EXPECT_FALSE(history.CanUndo());
  EXPECT_FALSE(history.Undo(s));
  EXPECT_EQ(s.MarkCount, 3);
}

}  // namespace
}  // namespace velmora
