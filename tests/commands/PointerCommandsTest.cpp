#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "commands/PointerCommands.h"
#include "commands/RectangleSelection.h"
#include "core/AnalysisState.h"
#include "core/RecordingCanvas.h"
#include "marks/AutomaticMarking.h"
#include "marks/MarkPointerEdits.h"
#include "support/ScriptedUi.h"

namespace velmora {
namespace {

class PointerCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // A pane showing 2000..3000 ms over 1000 pixels from x = 30, bands of 40 pixels from y = 10.
    s->TraceLeft = 30;
    s->TraceTop = 10;
    s->TraceHeight = 40;
    s->TraceAreaWidth = 1000;
    s->TraceAreaBottom = 400;
    s->SampleWidth = 1.0;
    s->CurBegin = 2000;
    s->NrTraces = 10;
    s->SigLength = 60000;
    s->PointerX = 530;
    s->PointerY = 70;
    s->PointerTrace = 2;
    s->PointerChannel = 40;
  }
  std::unique_ptr<AnalysisState> s = std::make_unique<AnalysisState>();
  testing::ScriptedUi ui;
  RecordingCanvas canvas;
  AutomaticMarking marking{*s, ui};
  PointerCommands pointer{*s, ui, marking};
};

TEST_F(PointerCommandsTest, TheFirstClickAfterALoadOnlyArms) {
  EXPECT_FALSE(pointer.ClickOnElectrograms(canvas));
  EXPECT_TRUE(s->ClickArmed);
  EXPECT_EQ(s->MarkCount, 0);
  EXPECT_TRUE(pointer.ClickOnElectrograms(canvas));
  EXPECT_EQ(s->MarkCount, 1);
}

TEST_F(PointerCommandsTest, AManualMarkTakesThePointerTimeAndThePanesKind) {
  s->ClickArmed = true;
  s->MarkType = {1, 2};
  s->ActivePane = 2;
  s->MarkOrigin = 2;
  ASSERT_TRUE(pointer.ClickOnElectrograms(canvas));
  const MarkRecord& mark = s->Mark(1);
  EXPECT_EQ(mark.Time, 2500);
  EXPECT_EQ(mark.Kind, kSpike);
  EXPECT_EQ(mark.Electrode, 40);
  EXPECT_EQ(mark.Origin, kByHand);
  // Feedback at once: a 2-pixel line in the kind's colour over band 2, and the time.
  EXPECT_EQ(canvas.Lines()[0], "pen 0000ff 2 copy");
  EXPECT_EQ(canvas.Lines()[1], "line 530 50 530 90");
  EXPECT_EQ(canvas.Lines()[4], "text 535 50 2500");
}

// A mark set by hand where the same one lies adds nothing: clicking twice, or "R" twice.
TEST_F(PointerCommandsTest, AHandMarkWhereTheSameOneLiesIsNotAddedAgain) {
  s->ClickArmed = true;
  MarkPointerEdits keys(*s, ui, canvas);
  s->SamplingF = 1000;
  for (int click = 0; click < 3; ++click) ASSERT_EQ(pointer.ClickOnElectrograms(canvas), click == 0);
  s->MarkType = {2, 2};
  EXPECT_TRUE(pointer.ClickOnElectrograms(canvas));  // a spike at the slow wave's time is another mark
  keys.InsertReferenceMark();
  keys.InsertReferenceMark();
  ASSERT_EQ(s->MarkCount, 3);
  EXPECT_EQ(s->Mark(3).Kind, kReferenceMark);
  EXPECT_EQ(ui.beeps, 3);  // each click or key that added nothing
}

TEST_F(PointerCommandsTest, ClicksOutsideTheTraceAreaOrOffTheTracesSetNothing) {
  s->ClickArmed = true;
  s->PointerX = 30;  // on the left edge, not inside
  EXPECT_FALSE(pointer.ClickOnElectrograms(canvas));
  s->PointerX = 530;
  s->PointerTrace = -1;
  s->PointerChannel = 0;
  EXPECT_FALSE(pointer.ClickOnElectrograms(canvas));
  EXPECT_EQ(s->MarkCount, 0);
}

TEST_F(PointerCommandsTest, ZoomNarrowsToTenAtLeastAndWidensToTheSignal) {
  s->WindowA = 15;
  s->PointerTime = 3;
  pointer.CalcNewZoom(1, true);
  EXPECT_EQ(s->WindowA, 10);
  EXPECT_EQ(s->BeginA, 0);  // 3 - 5 would be negative
  EXPECT_EQ(ui.beeps, 1);
  s->WindowA = 40000;
  s->PointerTime = 50000;
  pointer.CalcNewZoom(1, false);
  EXPECT_EQ(s->WindowA, 60000);
  EXPECT_EQ(s->BeginA, 20000);
  s->WindowB = 4000;
  s->PointerTime = 10000;
  pointer.CalcNewZoom(2, true);
  EXPECT_EQ(s->WindowB, 2000);
  EXPECT_EQ(s->BeginB, 9000);
}

TEST_F(PointerCommandsTest, AMapClickChoosesTheFirstTraceAndDisarms) {
  s->ClickArmed = true;
  s->PointerCellChannel = 77;
  s->PointerCol = 4;
  s->PointerRow = 5;
  EXPECT_FALSE(pointer.ClickOnMap(true, true));
  EXPECT_EQ(s->FirstChannel, 77);
  EXPECT_EQ(s->FirstCol, 4);
  EXPECT_EQ(s->FirstRow, 5);
  EXPECT_FALSE(s->ClickArmed);
  s->TwoPanes = true;
  EXPECT_TRUE(pointer.ClickOnMap(true, true));
}

TEST_F(PointerCommandsTest, TheFreeListTogglesAndDropsTheOldest) {
  s->TraceOrder = 3;
  s->NrTraces = 3;
  s->PointerCellChannel = 20;
  pointer.ClickOnMap(true, true);
  pointer.ClickOnMap(true, true);  // the same channel twice: out again
  EXPECT_EQ(s->FreeOrderCount, 0);
  for (int channel : {20, 21, 22, 23}) pointer.ToggleFreeChannel(channel);
  EXPECT_EQ(s->FreeOrderCount, 3);
  EXPECT_EQ(s->FreeOrderList[0], 21);
  EXPECT_EQ(s->FreeOrderList[2], 23);
  pointer.ToggleFreeChannel(22);
  EXPECT_EQ(s->FreeOrderCount, 2);
  EXPECT_EQ(s->FreeOrderList[1], 23);
  EXPECT_EQ(s->FreeOrderList[2], kNoValue);
  pointer.ToggleFreeChannel(0);
  pointer.ToggleFreeChannel(257);
  EXPECT_EQ(s->FreeOrderCount, 2);
}

}  // namespace
}  // namespace velmora

namespace velmora {
namespace {

// A flat signal with one steep fall on channel 40 at sample 2500 and nothing on channel 41.
class AssistedMarkingTest : public PointerCommandsTest {
 protected:
  void SetUp() override {
    PointerCommandsTest::SetUp();
    for (int sample = 1; sample <= 6000; ++sample) s->Signal(sample - 1, 39) = sample < 2500 ? 0 : -1000;
    s->ClickArmed = true;
    s->AssistedMarking = true;
  }
};

TEST_F(AssistedMarkingTest, ShiftClickFindsTheFallNearThePointerAndDrawsIt) {
  s->PointerX = 530 + 40;  // 40 samples after the fall, within the search width
  ASSERT_TRUE(pointer.ClickOnElectrograms(canvas));
  ASSERT_EQ(s->MarkCount, 1);
  const MarkRecord& mark = s->Mark(1);
  EXPECT_EQ(mark.Electrode, 40);
  EXPECT_EQ(mark.Origin, kAutomatic);
  EXPECT_EQ(mark.Kind, kSlowWave);
  EXPECT_LE(std::abs(mark.Time - 2500), 50);
  EXPECT_EQ(ui.beeps, 0);
  EXPECT_EQ(canvas.Lines()[0], "pen ff0000 1 copy");
}

TEST_F(AssistedMarkingTest, ShiftClickOnAFlatTraceBeepsAndMarksNothing) {
  s->PointerChannel = 41;
  EXPECT_FALSE(pointer.ClickOnElectrograms(canvas));
  EXPECT_EQ(s->MarkCount, 0);
  EXPECT_EQ(ui.beeps, 1);
}

TEST_F(AssistedMarkingTest, ARectangleMarksAndDeletesOnTheTracesInsideOnly) {
  // Traces 1..3 show channels 39, 40, 41 (sequential from 39); bands of 40 from y = 10.
  s->TraceOrder = 0;
  s->FirstChannel = 39;
  s->ShapeAnchorX = 30 + 400;   // time 2400
  s->ShapeAnchorY = 60;         // below trace 1's centre line (y 30)
  s->PointerX = 30 + 700;       // time 2700
  s->PointerY = 120;            // the centres of traces 2 (y 70) and 3 (y 110) lie inside
  RectangleSelection rectangle(*s, ui);
  rectangle.StretchToPointer();
  EXPECT_EQ(s->ShapeLeft, 430);
  EXPECT_EQ(s->ShapeBottom, 120);
  EXPECT_EQ(rectangle.MarkInside(marking), 1);  // trace 2 (channel 40) has a fall; 41 has none
  ASSERT_EQ(s->MarkCount, 1);
  EXPECT_EQ(s->Mark(1).Electrode, 40);
  EXPECT_EQ(rectangle.DeleteInside(), 1);
  EXPECT_EQ(s->Mark(1).Kind, kNoValue);
  EXPECT_EQ(s->UndoCount, 0);
}

}  // namespace
}  // namespace velmora
