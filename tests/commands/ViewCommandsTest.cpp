#include <gtest/gtest.h>

#include <memory>

#include "commands/GridKeys.h"
#include "commands/ValuePrompt.h"
#include "commands/ViewCommands.h"
#include "core/AnalysisState.h"
#include "support/ScriptedUi.h"

namespace velmora {
namespace {

class ViewCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override { s->SigLength = 10000; }
  void Answer(std::optional<std::string> text) { ui.inputs.push_back(std::move(text)); }
  std::unique_ptr<AnalysisState> s = std::make_unique<AnalysisState>();
  testing::ScriptedUi ui;
  ViewCommands commands{*s, ui};
};

TEST_F(ViewCommandsTest, BeginPromptShowsCaptionPromptAndCurrentValue) {
  s->BeginA = 1234;
  Answer("2000");
  EXPECT_EQ(commands.BeginTime(1, false), Redraw::PaneA);
  EXPECT_EQ(s->BeginA, 2000);
  ASSERT_EQ(ui.prompts.size(), 1u);
  EXPECT_EQ(ui.prompts[0].caption, "Begin Time Display A");
  EXPECT_EQ(ui.prompts[0].prompt, "Give new begin time:");
  EXPECT_EQ(ui.prompts[0].value, "1234");
}

TEST_F(ViewCommandsTest, CancellingABeginPromptGoesBackToZero) {
  s->BeginB = 500;
  Answer(std::nullopt);
  EXPECT_EQ(commands.BeginTime(2, true), Redraw::All);
  EXPECT_EQ(s->BeginB, 0);
  s->BeginAll = s->BeginA = s->BeginB = 300;
  Answer(std::nullopt);
  commands.BeginTimeAll();
  EXPECT_EQ(s->BeginA, 0);
  EXPECT_EQ(s->BeginB, 0);
  EXPECT_EQ(s->BeginAll, 0);
}

TEST_F(ViewCommandsTest, NegativeBeginBeepsAndAsksAgain) {
  Answer("-1");
  Answer("7");
  commands.BeginTime(1, false);
  EXPECT_EQ(ui.beeps, 1);
  EXPECT_EQ(ui.prompts.size(), 2u);
  EXPECT_EQ(s->BeginA, 7);
}

struct Refusal {
  int32_t minimum;
  std::optional<int64_t> maximum;
  const char* typed;
  const char* again;  // the question asked the second time
};

// A value outside the range is asked for again, saying what was wrong and what is allowed.
TEST_F(ViewCommandsTest, ARefusedValueIsAskedForAgainSayingWhatIsAllowed) {
  const Refusal cases[] = {
      {0, std::nullopt, "-1", "-1 is not allowed: give a whole number of at least 0.\nGive nr:"},
      {1, 199, " 200", "200 is not allowed: give a whole number from 1 to 199.\nGive nr:"},
  };
  for (const Refusal& c : cases) {
    ui = testing::ScriptedUi();
    Answer(c.typed);
    Answer("5");
    EXPECT_EQ(ValuePrompt::AskInteger(ui, "  ", "Give nr:", 3, c.minimum, c.maximum).value, 5);
    ASSERT_EQ(ui.prompts.size(), 2u);
    EXPECT_EQ(ui.prompts[0].prompt, "Give nr:");
    EXPECT_EQ(ui.prompts[1].prompt, c.again);
    EXPECT_EQ(ui.prompts[1].value, "3");
  }
  ui = testing::ScriptedUi();
  Answer("0");
  Answer("2");
  EXPECT_DOUBLE_EQ(ValuePrompt::AskPositiveReal(ui, "Amplification", "Give new value:", 1).value, 2);
  EXPECT_EQ(ui.prompts.at(1).prompt, "0 is not allowed: give a number above 0.\nGive new value:");
}

TEST_F(ViewCommandsTest, TextThatIsNotANumberIsReportedAndChangesNothing) {
  s->BeginA = 40;
  Answer("soon");
  EXPECT_EQ(commands.BeginTime(1, false), Redraw::None);
  EXPECT_EQ(s->BeginA, 40);
  ASSERT_EQ(ui.errors.size(), 1u);
  EXPECT_EQ(ui.errors[0], "Begin Time Display A: 'soon' is not a valid integer value");
  Answer("1,5");
  EXPECT_EQ(commands.AmplificationPrompt(), Redraw::None);
  EXPECT_DOUBLE_EQ(s->Amplification, 0.01);
}

TEST_F(ViewCommandsTest, WindowPromptAcceptsTenToOneMoreThanTheSignal) {
  Answer("9");
  Answer("10002");
  Answer("10001");
  EXPECT_EQ(commands.WindowTime(1), Redraw::PaneA);
  EXPECT_EQ(ui.beeps, 2);
  EXPECT_EQ(s->WindowA, 10001);
  EXPECT_EQ(s->WindowAll, 10001);
  EXPECT_EQ(ui.prompts[0].caption, "Window Time Display A");
  EXPECT_EQ(ui.prompts[0].prompt, "Give new window time:");
}

TEST_F(ViewCommandsTest, CancellingAWindowPromptKeepsTheWindow) {
  s->WindowA = 3000;
  Answer(std::nullopt);
  EXPECT_EQ(commands.WindowTime(1), Redraw::None);
  EXPECT_EQ(s->WindowA, 3000);
  Answer(std::nullopt);
  commands.WindowTimeAll();
  EXPECT_EQ(ui.prompts[1].caption, "Window Time ALL Displays");
}

TEST_F(ViewCommandsTest, WindowButtonAcceptsOneMillisecond) {
  Answer("0");
  Answer("1");
  EXPECT_EQ(commands.WindowButton(2), Redraw::All);
  EXPECT_EQ(s->WindowB, 1);
  EXPECT_EQ(ui.prompts[0].caption, "Window Time Display B");
}

TEST_F(ViewCommandsTest, GotoChannelAccepts257ButNot258Or0) {
  Answer("258");
  Answer("0");
  Answer("257");
  commands.GotoChannel();
  EXPECT_EQ(ui.beeps, 2);
  EXPECT_EQ(s->FirstChannel, 257);
  EXPECT_EQ(ui.prompts[0].caption, "Go To Signal Nr");
  EXPECT_EQ(ui.prompts[0].prompt, "Give new channel number:");
}

TEST_F(ViewCommandsTest, AmplificationShowsTwoDecimalsAndMustBePositive) {
  Answer("0");
  Answer("0.5");
  commands.AmplificationPrompt();
  EXPECT_EQ(ui.prompts[0].caption, "Amplification Electrograms ");
  EXPECT_EQ(ui.prompts[0].value, "0.01");
  EXPECT_EQ(ui.beeps, 1);
  EXPECT_DOUBLE_EQ(s->Amplification, 0.5);
  commands.IncreaseAmplification();
  EXPECT_DOUBLE_EQ(s->Amplification, 1.0);
  commands.DecreaseAmplification();
  commands.DecreaseAmplification();
  EXPECT_DOUBLE_EQ(s->Amplification, 0.25);
}

TEST_F(ViewCommandsTest, TraceCountAndStepIncrementPrompts) {
  Answer("0");
  Answer("8");
  commands.NumberChannels();
  EXPECT_EQ(s->NrTraces, 8);
  EXPECT_EQ(ui.prompts[0].caption, "Number of Traces to display");
  Answer("0");
  commands.StepIncrementPrompt();
  EXPECT_EQ(s->StepIncrement, 0);
  EXPECT_EQ(ui.prompts[2].caption, "Change step increment");
}

TEST_F(ViewCommandsTest, SamplingFrequencyRescalesFromTheSampleCount) {
  s->SignalRowsTouched = 10000;
  Answer("500");
  commands.SamplingFrequency();
  EXPECT_EQ(s->SamplingF, 500);
  EXPECT_TRUE(s->SamplingFChanged);
  EXPECT_EQ(s->SigLength, 20000);
  EXPECT_EQ(s->WindowA, 20000);
  EXPECT_EQ(s->WindowAll, 20000);
  Answer("2000");
  commands.SamplingFrequency();
  EXPECT_EQ(s->SigLength, 5000);  // from the 10000 samples again, not from 20000 ms
  Answer("0");  // 0 Hz would divide by zero: asked again
  Answer("1000");
  commands.SamplingFrequency();
  EXPECT_EQ(ui.beeps, 1);
  EXPECT_FALSE(s->SamplingFChanged);
  EXPECT_EQ(ViewCommands::SamplingFrequencyCaption(1000), "Sampling Frequency (1000 Hz)");
}

TEST_F(ViewCommandsTest, NextPaneStepStopsAtTheEndAndBeepsWhenStuck) {
  s->SigLength = 8000;
  s->BeginA = 6000;
  s->WindowA = 4000;
  commands.StepForward(1);
  EXPECT_EQ(s->BeginA, 4000);
  EXPECT_EQ(ui.beeps, 0);
  commands.StepForward(1);
  EXPECT_EQ(s->BeginA, 4000);
  EXPECT_EQ(ui.beeps, 1);
  s->BeginB = 1000;
  s->WindowB = 4000;
  commands.StepBack(2);
  EXPECT_EQ(s->BeginB, 0);
  commands.StepBack(2);
  EXPECT_EQ(ui.beeps, 2);
}

TEST_F(ViewCommandsTest, NextNearTheEndStepsBackFromTheEnd) {
  s->SigLength = 10000;
  s->StepIncrement = 100;
  s->BeginAll = 9950;
  commands.Next();
  EXPECT_EQ(s->BeginAll, 9900);
  EXPECT_EQ(s->BeginA, 9900);
  EXPECT_EQ(s->BeginB, 9900);
  s->BeginAll = 50;
  commands.Previous();
  EXPECT_EQ(s->BeginAll, 0);
  commands.Previous();
  EXPECT_EQ(ui.beeps, 1);
}

TEST_F(ViewCommandsTest, OrderBoxesSetTheSharedOrder) {
  commands.ChooseOrderA(4);  // Bipolar keeps the order
  EXPECT_EQ(s->Bipolar, 1);
  EXPECT_EQ(s->TraceOrder, 1);
  commands.ChooseOrderA(5);
  EXPECT_EQ(s->Bipolar, 0);
  EXPECT_EQ(s->TraceOrder, 6);
  commands.ChooseOrderA(4);
  commands.ChooseOrderB(2);  // pane B leaves Bipolar alone
  EXPECT_EQ(s->TraceOrder, 0);
  EXPECT_EQ(s->Bipolar, 1);
  s->FreeOrderList[0] = 40;
  s->FreeOrderCount = 1;
  commands.ChooseOrderB(3);
  EXPECT_EQ(s->TraceOrder, 3);
  EXPECT_EQ(s->FreeOrderCount, 0);
  EXPECT_EQ(s->FreeOrderList[0], kNoValue);
  EXPECT_EQ(commands.ChooseOrderB(4), Redraw::None);
}

class GridKeysTest : public ::testing::Test {
 protected:
  void SetUp() override {
    s->NrCols = 16;
    s->NrRows = 15;
    for (int row = 1; row <= 15; ++row)
      for (int col = 1; col <= 16; ++col) s->GridCell(col, row) = 17 + (row - 1) * 16 + (col - 1);
  }
  std::unique_ptr<AnalysisState> s = std::make_unique<AnalysisState>();
  testing::ScriptedUi ui;
};

TEST_F(GridKeysTest, ArrowsMoveTheFirstTraceThroughTheGrid) {
  EXPECT_TRUE(GridKeys::Move(*s, ui, GridKeys::Key::Right));
  EXPECT_EQ(s->FirstCol, 2);
  EXPECT_EQ(s->FirstChannel, 18);
  EXPECT_TRUE(GridKeys::Move(*s, ui, GridKeys::Key::Down));
  EXPECT_EQ(s->FirstRow, 2);
  EXPECT_EQ(s->FirstChannel, 34);
}

TEST_F(GridKeysTest, LeavingTheGridBeepsAndChangesNothing) {
  EXPECT_FALSE(GridKeys::Move(*s, ui, GridKeys::Key::Up));
  EXPECT_FALSE(GridKeys::Move(*s, ui, GridKeys::Key::Left));
  EXPECT_EQ(ui.beeps, 2);
  EXPECT_EQ(s->FirstCol, 1);
  EXPECT_EQ(s->FirstRow, 1);
}

TEST_F(GridKeysTest, PageDownOnChannel250With24TracesGives232) {
  s->FirstCol = 10;
  s->FirstRow = 15;  // channel 17 + 14 x 16 + 9 = 250
  ASSERT_EQ(s->GridCell(10, 15), 250);
  EXPECT_TRUE(GridKeys::Move(*s, ui, GridKeys::Key::PageDown));
  EXPECT_EQ(s->FirstChannel, 232);
}

TEST_F(GridKeysTest, PageUpCountsBackAndStopsAtOne) {
  s->FirstCol = 2;
  s->FirstRow = 2;  // channel 34
  GridKeys::Move(*s, ui, GridKeys::Key::PageUp);
  EXPECT_EQ(s->FirstChannel, 34 - 24 + 1);
  s->FirstRow = 1;  // channel 18
  GridKeys::Move(*s, ui, GridKeys::Key::PageUp);
  EXPECT_EQ(s->FirstChannel, 1);
}

TEST_F(GridKeysTest, AnEmptyCellGivesChannelOne) {
  s->GridCell(2, 1) = -1;
  GridKeys::Move(*s, ui, GridKeys::Key::Right);
  EXPECT_EQ(s->FirstCol, 2);
  EXPECT_EQ(s->FirstChannel, 1);
}

}  // namespace
}  // namespace velmora
