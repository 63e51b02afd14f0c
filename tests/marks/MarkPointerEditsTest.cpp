#include <gtest/gtest.h>

#include <memory>

#include "core/AnalysisState.h"
#include "core/RecordingCanvas.h"
#include "marks/MarkPointerEdits.h"
#include "marks/MarkStore.h"
#include "support/ScriptedUi.h"

namespace velmora {
namespace {

class MarkPointerEditsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // A pane showing 0..1000 ms over 1000 pixels from x = 50, traces 40 pixels high from y = 10.
    s->CurBegin = 0;
    s->TraceLeft = 50;
    s->SampleWidth = 1.0;
    s->TraceTop = 10;
    s->TraceHeight = 40;
    s->PointerChannel = 20;
    s->PointerTrace = 2;
  }
  void Add(int electrode, int kind, int time) {
    s->PointerChannel = electrode;
    MarkStore::AddMarkRecord(*s, time, kind);
    s->PointerChannel = 20;
  }
  void PointAt(int timeMs) { s->PointerX = s->TraceLeft + timeMs; }

  testing::ScriptedUi ui;
  RecordingCanvas canvas;
  std::unique_ptr<AnalysisState> s = std::make_unique<AnalysisState>();
  MarkPointerEdits edits{*s, ui, canvas};
};

TEST_F(MarkPointerEditsTest, DeleteTakesEveryMarkWithin30SamplesOntoTheUndoList) {
  Add(20, kSlowWave, 480);
  Add(20, kReferenceMark, 520);
  Add(20, kSlowWave, 531);
  PointAt(500);
  s->MarksChanged = false;
  EXPECT_EQ(edits.DeleteMark(), 2);
  EXPECT_EQ(s->Mark(1).Kind, kNoValue);
  EXPECT_EQ(s->Mark(2).Kind, kNoValue);
  EXPECT_EQ(s->Mark(3).Kind, kSlowWave);
  EXPECT_TRUE(s->MarksChanged);
  EXPECT_EQ(ui.beeps, 1);
  ASSERT_EQ(s->UndoCount, 2);
  // Undo brings the reference back as a reference.
  EXPECT_EQ(s->UndoList[0].Kind, kReferenceMark);
  EXPECT_EQ(s->UndoList[0].Time, 520);
  EXPECT_EQ(s->UndoList[1].Kind, kSlowWave);
  MarkStore::UndoDeletedMark(*s);
  EXPECT_EQ(s->Mark(4).Kind, kReferenceMark);
}

TEST_F(MarkPointerEditsTest, DeleteUsesTheActivePanesMarkType) {
  Add(20, kSlowWave, 500);
  Add(20, kSpike, 505);
  s->MarkType = {1, 2};
  s->ActivePane = 2;
  PointAt(500);
  EXPECT_EQ(edits.DeleteMark(), 1);
  EXPECT_EQ(s->Mark(1).Kind, kSlowWave);
  EXPECT_EQ(s->Mark(2).Kind, kNoValue);
}

// Painting over a deleted mark wiped the trace and grid under it; the panes are redrawn instead.
TEST_F(MarkPointerEditsTest, DeleteDrawsNothingOverTheDeletedMark) {
  Add(20, kSlowWave, 500);
  PointAt(500);
  EXPECT_EQ(edits.DeleteMark(), 1);
  EXPECT_TRUE(canvas.Lines().empty());
}

TEST_F(MarkPointerEditsTest, NothingNearThePointerMeansNoBeepAndNoUndo) {
  Add(20, kSlowWave, 400);
  PointAt(500);
  EXPECT_EQ(edits.DeleteMark(), 0);
  EXPECT_EQ(ui.beeps, 0);
  EXPECT_EQ(s->UndoCount, 0);
  EXPECT_TRUE(canvas.Lines().empty());
}

TEST_F(MarkPointerEditsTest, KillRemovesSlowWavesAndReferencesButKeepsOthers) {
  Add(20, kSlowWave, 100);
  Add(20, kReferenceMark, 200);
  Add(20, kSpike, 300);
  Add(20, kType3, 400);
  Add(21, kSlowWave, 100);
  s->SigLength = 1000;
  edits.KillMarks();
  EXPECT_EQ(s->Mark(1).Kind, kNoValue);
  EXPECT_EQ(s->Mark(2).Kind, kNoValue);
  EXPECT_EQ(s->Mark(3).Kind, kSpike);
  EXPECT_EQ(s->Mark(4).Kind, kType3);
  EXPECT_EQ(s->Mark(5).Kind, kSlowWave);
  EXPECT_TRUE(s->MarksChanged);
}

TEST_F(MarkPointerEditsTest, SwitchWorksWithin100MsAndBeeps) {
  Add(20, kSlowWave, 600);
  Add(20, kSlowWave, 601);
  PointAt(500);
  EXPECT_TRUE(edits.SwitchMark());
  EXPECT_EQ(s->Mark(1).Kind, kSpike);
  EXPECT_EQ(s->Mark(2).Kind, kSlowWave);
  EXPECT_EQ(ui.beeps, 1);
}

TEST_F(MarkPointerEditsTest, SwitchOnAReferenceDoesNotBeep) {
  Add(20, kReferenceMark, 500);
  PointAt(500);
  EXPECT_FALSE(edits.SwitchMark());
  EXPECT_EQ(ui.beeps, 0);
}

TEST_F(MarkPointerEditsTest, PointerTimeFollowsTheSamplingFrequency) {
  s->SamplingF = 500;
  s->CurBegin = 1000;
  PointAt(100);  // 100 samples at 500 Hz
  EXPECT_EQ(edits.PointerTimeMs(), 1200);
  s->SampleWidth = 0;
  EXPECT_EQ(edits.PointerTimeMs(), kNoValue);
}

TEST_F(MarkPointerEditsTest, ReferenceMarkIsDrawnAndAdded) {
  PointAt(250);
  s->PointerTrace = 1;
  edits.InsertReferenceMark();
  ASSERT_EQ(s->MarkCount, 1);
  EXPECT_EQ(s->Mark(1).Kind, kReferenceMark);
  EXPECT_EQ(s->Mark(1).Time, 250);
  EXPECT_EQ(s->Mark(1).Electrode, 20);
  const auto& lines = canvas.Lines();
  EXPECT_EQ(lines[1], "line 300 10 300 50");
  EXPECT_EQ(lines[3], "ellipse 296 6 304 14");
  EXPECT_EQ(lines.back(), "text 305 10 250");
}

}  // namespace
}  // namespace velmora
