#include "marks/MarkJournal.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <memory>
#include <string>

#include "core/AnalysisState.h"
#include "core/Errors.h"
#include "marks/MarkStore.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"

namespace velmora {
namespace {

class MarkJournalTest : public ::testing::Test {
 protected:
  void SetUp() override { Open(*s); }
  // A state as reading the mark file left it: two marks, nothing changed.
  void Open(AnalysisState& state) const {
    SetDefaults(state);
    state.MarkFileName = dir.File("REC.M00");
    state.MarkCount = 0;
    AddMark(state, 17, 1000, kSlowWave);
    AddMark(state, 18, 1200, kSlowWave);
    state.MarksChanged = false;
  }
  static void AddMark(AnalysisState& state, int electrode, int time, int kind) {
    state.PointerChannel = electrode;
    ASSERT_TRUE(MarkStore::AddMarkRecord(state, time, kind));
  }
  static void ExpectSameMarks(const AnalysisState& a, const AnalysisState& b) {
    ASSERT_EQ(a.MarkCount, b.MarkCount);
    for (int n = 1; n <= a.MarkCount; ++n) {
      EXPECT_EQ(a.Mark(n).Electrode, b.Mark(n).Electrode) << n;
      EXPECT_EQ(a.Mark(n).Kind, b.Mark(n).Kind) << n;
      EXPECT_EQ(a.Mark(n).Time, b.Mark(n).Time) << n;
      EXPECT_EQ(a.Mark(n).Origin, b.Mark(n).Origin) << n;
    }
  }
  std::string JournalPath() const { return MarkJournal::PathFor(s->MarkFileName); }

  testing::TempDir dir;
  std::unique_ptr<AnalysisState> s = std::make_unique<AnalysisState>();
  std::unique_ptr<AnalysisState> reopened = std::make_unique<AnalysisState>();
  testing::ScriptedUi ui;
  MarkJournal journal;
};

TEST_F(MarkJournalTest, ReplayRestoresAddsDeletesAndKindSwitches) {
  journal.Bind(*s);
  journal.Record(*s, true);  // nothing changed: no journal
  EXPECT_FALSE(MarkJournal::Find(s->MarkFileName).has_value());

  AddMark(*s, 19, 1500, kSpike);
  journal.Record(*s, true);
  MarkStore::SwitchAttribute(*s, ui, 17, 0, 2000);
  journal.Record(*s, true);
  MarkStore::RemoveMarks(*s, ui, 18, kSlowWave, 0, 2000);
  journal.Record(*s, false);

  const auto pending = MarkJournal::Find(s->MarkFileName);
  ASSERT_TRUE(pending.has_value());
  EXPECT_EQ(pending->edits, 3);
  EXPECT_GT(pending->lastEditMs, 0);

  Open(*reopened);
  EXPECT_EQ(MarkJournal::Replay(*reopened), 3);
  ExpectSameMarks(*s, *reopened);
  EXPECT_EQ(reopened->Mark(1).Kind, kSpike);
  EXPECT_TRUE(reopened->MarksChanged);
}

TEST_F(MarkJournalTest, ABatchCutShortByACrashIsLeftOut) {
  journal.Bind(*s);
  AddMark(*s, 19, 1500, kSlowWave);
  journal.Record(*s, true);
  const std::string whole = testing::ReadFile(JournalPath());
  for (const std::string tail : {"S 4 20 1 1700 0 0 1 0\n", "S 4 20 1 17", "C 4\nS 4 20 1 1700 0 0 1 0\nE"}) {
    dir.Write("REC.M00.velmora-journal", whole + tail);
    Open(*reopened);
    EXPECT_EQ(MarkJournal::Replay(*reopened), 1) << tail;
    ExpectSameMarks(*s, *reopened);
  }
}

TEST_F(MarkJournalTest, ABrokenJournalIsRefusedNamingTheLineAndChangesNothing) {
  const std::vector<std::pair<std::string, int>> cases = {
      {"something else\n", 1},
      {"velmora-journal 1\nS 3 19 1 1500 0 0 1 0\nE 5\nS 0 19 1 1 0 0 1 0\nE 6\n", 4},
      {"velmora-journal 1\nC 67108865\nE 5\n", 2},  // past the most marks the store grows to
      {"velmora-journal 1\nS 3 70000 1 1500 0 0 1 0\nE 5\n", 2},
      {"velmora-journal 1\nX 1\nE 5\n", 2},
      {"velmora-journal 1\nC 3 4\nE 5\n", 2},
      // Found by fuzzing: a count far past the marks made the store grow to hold them.
      {"velmora-journal 1\nS 12 18 2 1010 0 0 1 0\nC 20000000\nE 1700000000300\n", 4},
  };
  for (const auto& [text, line] : cases) {
    dir.Write("REC.M00.velmora-journal", text);
    Open(*reopened);
    try {
      MarkJournal::Replay(*reopened);
      ADD_FAILURE() << "accepted: " << text;
    } catch (const ConversionError& error) {
      EXPECT_EQ(error.Line(), line) << text;
      EXPECT_EQ(error.Path(), JournalPath());
    }
    ExpectSameMarks(*s, *reopened);
    EXPECT_FALSE(reopened->MarksChanged);
  }
}

TEST_F(MarkJournalTest, DiscardRemovesTheJournalAndSetAsideKeepsIt) {
  journal.Bind(*s);
  AddMark(*s, 19, 1500, kSlowWave);
  journal.Record(*s, true);
  const std::string text = testing::ReadFile(JournalPath());
  const std::string aside = MarkJournal::SetAside(s->MarkFileName);
  EXPECT_FALSE(MarkJournal::Find(s->MarkFileName).has_value());
  EXPECT_EQ(testing::ReadFile(aside), text);

  AddMark(*s, 20, 1600, kSlowWave);
  journal.Record(*s, true);
  ASSERT_TRUE(MarkJournal::Find(s->MarkFileName).has_value());
  journal.Discard(*s);
  EXPECT_FALSE(std::filesystem::exists(JournalPath()));
  journal.Record(*s, true);  // the store is the saved state now: nothing to write
  EXPECT_FALSE(std::filesystem::exists(JournalPath()));
  EXPECT_TRUE(std::filesystem::exists(aside));
}

// A marking session killed part way: every mark made before the kill comes back, and none
// that was never made.
TEST_F(MarkJournalTest, MarksOfAKilledSessionAreReplayed) {
  constexpr int kMarksBeforeKill = 25;
  int report[2];
  ASSERT_EQ(pipe(report), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    close(report[0]);
    MarkJournal session;
    session.Bind(*s);
    for (int k = 0; k < 2 * kMarksBeforeKill; ++k) {
      AddMark(*s, 17 + k % 5, 2000 + 37 * k, k % 3 == 0 ? kSpike : kSlowWave);
      if (k % 4 == 3) MarkStore::RemoveMarks(*s, ui, 17 + k % 5, kSlowWave, 0, 2000 + 37 * k);
      session.Record(*s, true);
      if (k + 1 == kMarksBeforeKill) {
        const int count = s->MarkCount;
        if (write(report[1], &count, sizeof count) != sizeof count) _exit(1);
        pause();  // the rest of the session never happens
      }
    }
    _exit(0);
  }
  close(report[1]);
  int childCount = -1;
  ASSERT_EQ(read(report[0], &childCount, sizeof childCount), ssize_t(sizeof childCount));
  close(report[0]);
  kill(child, SIGKILL);
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFSIGNALED(status));

  // The same session run here up to the kill gives the marks the replay must restore.
  for (int k = 0; k < kMarksBeforeKill; ++k) {
    AddMark(*s, 17 + k % 5, 2000 + 37 * k, k % 3 == 0 ? kSpike : kSlowWave);
    if (k % 4 == 3) MarkStore::RemoveMarks(*s, ui, 17 + k % 5, kSlowWave, 0, 2000 + 37 * k);
  }
  ASSERT_EQ(s->MarkCount, childCount);
  Open(*reopened);
  EXPECT_GT(MarkJournal::Replay(*reopened), 0);
  ExpectSameMarks(*s, *reopened);
}

}  // namespace
}  // namespace velmora
