#include <gtest/gtest.h>

#include <memory>

#include "commands/PointerCommands.h"
#include "core/AnalysisState.h"
#include "core/RecordingCanvas.h"
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
  PointerCommands pointer{*s, ui};
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
