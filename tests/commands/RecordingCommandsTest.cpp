#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "commands/DisplaySwitches.h"
#include "commands/PaneCaptions.h"
#include "commands/RecordingCommands.h"
#include "core/AnalysisState.h"
#include "core/DataRoot.h"
#include "input/E00Reader.h"
#include "input/LabImport.h"
#include "marks/MarkFile.h"
#include "marks/MarkSaving.h"
#include "marks/MarkSettingsFile.h"
#include "marks/MarkStore.h"
#include "support/E00Builder.h"
#include "support/LabTextBuilder.h"
#include "support/MarkFileBytes.h"
#include "support/NITextBuilder.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"

namespace velmora {
namespace {

class RecordingCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root.EnsureExists();
    s->DefaultMatrixFileName = dir.Write("grid.txt", testing::NewMatrixText(16, 15));
    first = dir.Write("first.E00", testing::E00Builder{}.Bytes());
    second = dir.Write("second.E00", testing::E00Builder{}.Bytes());
    ASSERT_TRUE(commands.OpenE00(first));
    s->PointerChannel = 30;
    MarkStore::AddMarkRecord(*s, 500, kSlowWave);
  }
  void Choose(const std::string& path, int filter) {
    ui.openDialogAnswers.push_back(Ui::FileDialogResult{path, filter});
  }
  testing::TempDir dir;
  DataRoot root{dir.File("root")};
  testing::ScriptedUi ui;
  std::unique_ptr<AnalysisState> s = std::make_unique<AnalysisState>();
  E00Reader reader{*s, ui, root};
  std::unique_ptr<RecordingCommands> session = std::make_unique<RecordingCommands>(*s, ui, reader);
  RecordingCommands& commands = *session;
  std::string first, second;
};

TEST_F(RecordingCommandsTest, TheDialogOffersTheSixKindsAndStartsOnTheFifth) {
  RecordingCommands fresh(*s, ui, reader);
  fresh.OpenFile();
  ASSERT_EQ(ui.openDialogs.size(), 1u);
  EXPECT_EQ(ui.openDialogs[0].title, "Open electrogram file");
  ASSERT_EQ(ui.openDialogs[0].filters.size(), 6u);
  EXPECT_EQ(ui.openDialogs[0].filters[0].rfind("E00 files", 0), 0u);
  EXPECT_EQ(ui.openDialogs[0].filters[5].rfind("Manchester text files", 0), 0u);
  EXPECT_EQ(ui.openDialogs[0].filterIndex, 5);
}

TEST_F(RecordingCommandsTest, CancellingTheDialogKeepsTheMarks) {
  EXPECT_FALSE(commands.OpenFile());
  EXPECT_EQ(s->MarkCount, 1);
  EXPECT_TRUE(s->MarksChanged);
}

TEST_F(RecordingCommandsTest, ChoosingAMarkFileOnlyBeepsAndKeepsTheMarks) {
  Choose(dir.File("first.M00"), RecordingCommands::kM00Filter);
  EXPECT_FALSE(commands.OpenFile());
  EXPECT_EQ(ui.beeps, 1);
  EXPECT_EQ(s->MarkCount, 1);
  EXPECT_EQ(s->ElgFileName, first);
}

TEST_F(RecordingCommandsTest, OpeningAnotherRecordingAsksAboutChangedMarks) {
  Choose(second, RecordingCommands::kE00Filter);
  ui.answers.push_back(Ui::Answer::Cancel);
  EXPECT_FALSE(commands.OpenFile());
  EXPECT_EQ(ui.questions.size(), 1u);
  EXPECT_EQ(s->ElgFileName, first);
  EXPECT_EQ(s->MarkCount, 1);
  Choose(second, RecordingCommands::kE00Filter);
  ui.answers.push_back(Ui::Answer::Yes);
  EXPECT_TRUE(commands.OpenFile());
  EXPECT_EQ(s->ElgFileName, second);
  EXPECT_EQ(s->MarkCount, 0);
  EXPECT_EQ(commands.FilterIndex(), 1);  // remembered
  // The first recording's mark was saved on the way.
  EXPECT_EQ(testing::ReadFile(dir.File("first.M00")).size(), 4096u + 16);
}

TEST_F(RecordingCommandsTest, OpeningResetsThePanesToTheWholeSignal) {
  s->WindowA = 100;
  s->BeginAll = 200;
  s->BeginA = 500;  // as after "Begin Time" far into the recording before
  s->BeginB = 300;
  s->WindowB = 100;
  s->MarkType = {2, 3};
  s->MapKindB = 4;
  s->MarksChanged = false;
  Choose(second, RecordingCommands::kE00Filter);
  ASSERT_TRUE(commands.OpenFile());
  EXPECT_EQ(s->WindowA, 980);
  EXPECT_EQ(s->WindowAll, 980);
  EXPECT_EQ(s->WindowB, 980);
  EXPECT_EQ(s->BeginA, 0);
  EXPECT_EQ(s->BeginB, 0);
  EXPECT_EQ(s->BeginAll, 0);
  EXPECT_EQ(s->MarkType[0], 1);
  EXPECT_EQ(s->MarkType[1], 1);
  EXPECT_EQ(s->MapKindB, 0);
  EXPECT_TRUE(s->PointerReady);
  EXPECT_FALSE(s->ClickArmed);
}

TEST_F(RecordingCommandsTest, AnE00AfterATextImportTakesItsOwnRateAndGridLayout) {
  const std::string nashville = dir.Write("nash.txt", testing::NashvilleText(48, 90, [](int, int) { return "5"; }));
  s->MarksChanged = false;
  ASSERT_TRUE(LabImport(*s, ui, root).Import(LabImport::kNashville, nashville, {"48", "90", "30", "grid.txt"}));
  ASSERT_TRUE(s->SamplingFChanged);
  Choose(second, RecordingCommands::kE00Filter);
  ASSERT_TRUE(commands.OpenFile());
  EXPECT_EQ(s->SamplingF, 1000);
  EXPECT_FALSE(s->SamplingFChanged);
  EXPECT_EQ(s->TraceOrder, 1);  // horizontal from the first electrode, as at start
  EXPECT_EQ(s->FirstChannel, 17);
  EXPECT_EQ(s->NrTraces, 16);
}

TEST_F(RecordingCommandsTest, RecentItemsReopenWithTheHorizontalOrderFromChannel65) {
  s->MarksChanged = false;
  s->TraceOrder = 0;
  ASSERT_EQ(s->RecentFileNames[0], first);
  EXPECT_TRUE(commands.OpenRecent(1));
  EXPECT_EQ(s->TraceOrder, 1);
  EXPECT_EQ(s->FirstChannel, 65);
  EXPECT_EQ(s->ElgFileName, first);
  EXPECT_EQ(ui.log.at(ui.log.size() - 1).rfind("NrOfFramesinFile", 0), std::string::npos);
}

TEST_F(RecordingCommandsTest, AnEmptyRecentItemIsAConversionError) {
  EXPECT_FALSE(commands.OpenRecent(5));
  ASSERT_EQ(ui.errors.size(), 1u);
  EXPECT_EQ(ui.errors[0], "'' is not a valid integer value");
}

std::string Volts(int row, int channel) { return std::to_string(row * 100 + channel) + "e-6"; }

TEST_F(RecordingCommandsTest, AnNIFileIsReadAfterBothPromptsAndKeepsItsOwnLayoutAndRate) {
  const std::string ni = dir.Write("run7.txt", testing::NIText(150, Volts));
  Choose(ni, RecordingCommands::kNIFilter);
  ui.inputs = {std::string("500"), std::string("150")};
  ui.answers.push_back(Ui::Answer::No);
  ASSERT_TRUE(commands.OpenFile());
  ASSERT_EQ(ui.prompts.size(), 2u);
  // The most samples the machine's memory holds (it moves as memory does), not the 60,000 of
  // a fixed buffer.
  const std::string caption = ui.prompts[0].caption, before = "Input nr of samples (Max ";
  ASSERT_EQ(caption.substr(0, before.size()), before);
  EXPECT_EQ(caption.substr(caption.size() - 2), ") ");
  EXPECT_GT(std::stoll(caption.substr(before.size())), 60000);
  EXPECT_EQ(ui.prompts[0].prompt, "Give new nr of samples:");
  EXPECT_EQ(ui.prompts[0].value, "1000");
  EXPECT_EQ(ui.prompts[1].caption, "  ");
  EXPECT_EQ(ui.prompts[1].prompt, "Give new signal length if necessary:");
  EXPECT_EQ(ui.prompts[1].value, "30000");
  EXPECT_EQ(s->NISampleCount, 500);
  EXPECT_EQ(s->SigLength, 150);
  EXPECT_EQ(s->Signal(149, 4), 15005);
  // The 64-channel recording at one sample per millisecond stays so after the open.
  EXPECT_EQ(s->NrTraces, 64);
  EXPECT_EQ(s->SamplingF, 1000);
  EXPECT_EQ(s->MarkCount, 0);
  EXPECT_EQ(s->ElgFileName, ni);
}

TEST_F(RecordingCommandsTest, CancellingAnNIPromptLeavesTheRecordingAsItWas) {
  const std::string ni = dir.Write("run7.txt", testing::NIText(150, Volts));
  const int32_t before = s->Signal(10, 3);
  for (int answered = 0; answered <= 1; ++answered) {
    Choose(ni, RecordingCommands::kNIFilter);
    ui.inputs.clear();
    if (answered == 1) ui.inputs.push_back(std::string("1000"));
    ui.inputs.push_back(std::nullopt);
    EXPECT_FALSE(commands.OpenFile());
    EXPECT_EQ(s->ElgFileName, first);
    EXPECT_EQ(s->Signal(10, 3), before);
    EXPECT_EQ(s->NrCols, 16);
    EXPECT_EQ(s->MarkCount, 1);
  }
  EXPECT_FALSE(std::filesystem::exists(dir.File("run7.Mxt")));
}

TEST_F(RecordingCommandsTest, ARecentNIEntryOpensItsOwnPath) {
  const std::string ni = dir.Write("run7.txt", testing::NIText(150, Volts));
  s->MarksChanged = false;
  s->RecentFileKinds[3] = "3";
  s->RecentFileNames[3] = ni;
  ui.inputs = {std::string("1000"), std::string("30000")};
  EXPECT_TRUE(commands.OpenRecent(4));
  EXPECT_EQ(s->ElgFileName, ni);
  EXPECT_EQ(s->SigLength, 150);
}

TEST_F(RecordingCommandsTest, ABrokenRecordingIsReportedAndTheLoadedOneStays) {
  Choose(dir.Write("broken.E00", "short"), RecordingCommands::kE00Filter);
  ui.answers.push_back(Ui::Answer::No);
  EXPECT_FALSE(commands.OpenFile());
  EXPECT_EQ(ui.errors.size(), 1u);
  EXPECT_EQ(s->ElgFileName, first);
  EXPECT_EQ(s->MarkCount, 1);
}

// A load stopped from its progress panel leaves the recording before it as it was.
class CancelledLoadTest : public RecordingCommandsTest {
 protected:
  void SetUp() override {
    RecordingCommandsTest::SetUp();
    testing::E00Builder other;
    other.frames = 3000;
    other.sample = [](int record, int channel) { return int16_t(record % 50 + channel * 3); };
    third = dir.Write("third.E00", other.Bytes());
    sample = std::as_const(*s).Signal(10, 20);
    sigLength = s->SigLength;
    hiddenBefore = ui.progressHidden;
    ui.answers.push_back(Ui::Answer::No);  // the changed marks are not saved
  }
  void ExpectFirstRecordingIntact() {
    EXPECT_EQ(s->ElgFileName, first);
    EXPECT_EQ(s->MarkFileName, dir.File("first.M00"));
    EXPECT_EQ(s->SigLength, sigLength);
    EXPECT_EQ(std::as_const(*s).Signal(10, 20), sample);
    ASSERT_EQ(s->MarkCount, 1);
    EXPECT_EQ(s->Mark(1).Time, 500);
    EXPECT_EQ(s->Mark(1).Electrode, 30);
    EXPECT_EQ(s->NrCols, 16);
    EXPECT_EQ(ui.progressHidden, hiddenBefore + 1);
  }
  std::string third;
  int32_t sample = 0, sigLength = 0;
  int hiddenBefore = 0;
};

TEST_F(CancelledLoadTest, AnE00LoadCancelledHalfWayKeepsTheRecordingAndMarksBefore) {
  ui.cancelAtEvents = ui.processEventsCalls + 5;  // after 5 of the 16 blocks of rows
  Choose(third, RecordingCommands::kE00Filter);
  EXPECT_FALSE(commands.OpenFile());
  ExpectFirstRecordingIntact();
  EXPECT_FALSE(std::filesystem::exists(dir.File("third.M00")));
  // Nothing of the cancelled load lingers: the next one goes through.
  ui.cancelAtEvents = 0;
  ui.answers.push_back(Ui::Answer::No);
  ASSERT_TRUE(commands.OpenE00(third));
  EXPECT_EQ(s->ElgFileName, third);
  EXPECT_NE(s->SigLength, sigLength);
  EXPECT_NE(std::as_const(*s).Signal(10, 20), sample);
}

TEST_F(CancelledLoadTest, AnNITextReadCancelledHalfWayKeepsTheRecordingAndMarksBefore) {
  ui.cancelAtEvents = ui.processEventsCalls + 2;
  Choose(dir.Write("run7.txt", testing::NIText(1500, Volts)), RecordingCommands::kNIFilter);
  ui.inputs = {std::string("1000"), std::string("1500")};
  EXPECT_FALSE(commands.OpenFile());
  ExpectFirstRecordingIntact();
}

TEST(DisplaySwitches, FlippingRenamesAfterTheActionThatUndoesIt) {
  auto s = std::make_unique<AnalysisState>();
  const auto* grid = DisplaySwitches::Find("showGrid1");
  ASSERT_NE(grid, nullptr);
  EXPECT_EQ(grid->startCaption, "hide Grid");
  EXPECT_EQ(DisplaySwitches::Flip(*s, *grid), "show Grid");
  EXPECT_FALSE(s->ShowGrid);
  EXPECT_EQ(DisplaySwitches::Flip(*s, *grid), "hide Grid");
  const auto* intervals = DisplaySwitches::Find("ShowElgIntervals1");
  EXPECT_EQ(intervals->startCaption, "show  SW intervals");
  EXPECT_EQ(DisplaySwitches::Flip(*s, *intervals), "hide SW intervals");
  EXPECT_TRUE(s->ShowElgIntervals);
  EXPECT_EQ(DisplaySwitches::All().size(), 14u);
  EXPECT_EQ(DisplaySwitches::Find("nothing"), nullptr);
}

TEST(PaneCaptions, PointerAboveTheFirstBandHasNoTraceAndNoChannel) {
  auto s = std::make_unique<AnalysisState>();
  s->TraceTop = 10;
  s->TraceHeight = 40;
  s->TraceLeft = 30;
  s->SampleWidth = 1;
  s->NrTraces = 24;
  s->TraceOrder = 0;
  s->FirstChannel = 17;
  s->PointerX = 130;
  s->PointerY = -15;
  PaneCaptions::UpdateElectrogramPointer(*s);
  EXPECT_EQ(s->PointerTrace, -1);
  EXPECT_EQ(s->PointerChannel, 0);
  EXPECT_EQ(s->PointerTime, 100);
  s->PointerY = 95;  // nearest centre: trace 3 at y = 110
  PaneCaptions::UpdateElectrogramPointer(*s);
  EXPECT_EQ(s->PointerTrace, 3);
  EXPECT_EQ(s->PointerChannel, 19);
  EXPECT_EQ(PaneCaptions::ElectrogramCaption(*s, 0, 4000), "(0-4000) 100 msec     Elenr = 19");
}

TEST(PaneCaptions, MapCaptionShowsABlankForAnEmptyCell) {
  auto s = std::make_unique<AnalysisState>();
  s->PointerCol = 3;
  s->PointerRow = 2;
  s->PointerCellChannel = 50;
  EXPECT_EQ(PaneCaptions::MapCaption(*s, 1, 0, 0, 4000, kNoValue), "Slow Wave (0-4000) 3x2 (Cell = 50) ( t =  )");
  EXPECT_EQ(PaneCaptions::MapCaption(*s, 1, 3, 0, 4000, 250), "Slow Wave Intervals (0-4000) 3x2 (Cell = 50) ( t = 250)");
  EXPECT_EQ(PaneCaptions::MapName(2, 2), "Electrode Matrix");
  EXPECT_EQ(PaneCaptions::MapName(2, 4), "Spikes");
  EXPECT_EQ(PaneCaptions::MapName(3, 0), "Peristaltic Wave");
}

TEST(PaneCaptions, PrintedCaptionsLeaveThePointerReadOutOut) {
  auto s = std::make_unique<AnalysisState>();
  s->PointerTime = 1685;
  s->PointerChannel = 21;
  s->PointerCol = 3;
  s->PointerRow = 2;
  s->PointerCellChannel = 50;
  s->BeginA = 1000, s->WindowA = 4000, s->BeginB = 0, s->WindowB = 60000;
  s->MarkType = {1, 2};
  s->MapKindA = 3, s->MapKindB = 0;
  s->NrWaves = 7, s->WaveNrA = 2, s->WaveNrB = 5;
  const struct {
    int kindA, kindB;
    const char *paneA, *paneB;
  } cases[] = {
      {1, 0, "(1000-5000)", "Spikes (0-60000)"},
      {0, 1, "Slow Wave Intervals (1000-5000)", "(0-60000)"},
      {2, 2, "Wave Map nr: 2 of 7    (Slow Wave)", "Wave Map nr: 5 of 7    (Spikes)"},
      {3, 3, "", ""},  // the animation's caption is the window's own
  };
  for (const auto& c : cases) {
    s->PaneKindA = uint8_t(c.kindA);
    s->PaneKindB = uint8_t(c.kindB);
    EXPECT_EQ(PaneCaptions::PrintedCaption(*s, 1), c.paneA);
    EXPECT_EQ(PaneCaptions::PrintedCaption(*s, 2), c.paneB);
  }
}

TEST(PaneCaptions, StatusBarTexts) {
  auto s = std::make_unique<AnalysisState>();
  s->ElgFileName = "/data/pig4/rec.E00";
  s->MatrixFileName = "/m/grid.txt";
  s->SigLength = 65535;
  s->ReferenceTime = 120;
  const auto texts = PaneCaptions::StatusBar(*s);
  EXPECT_EQ(texts.fileName, "rec.E00");
  EXPECT_EQ(texts.matrixName, "grid.txt");
  EXPECT_EQ(texts.referenceTime, " Reference: 120 ms");
  EXPECT_EQ(texts.sigLength, " Signal: 65535 ms");
  EXPECT_EQ(texts.amplification, " Amplf: 0.01");
  EXPECT_EQ(PaneCaptions::GroupedTwoDecimals(1234567.891), "1,234,567.89");
  EXPECT_EQ(PaneCaptions::GroupedTwoDecimals(999.999), "1,000.00");
  EXPECT_EQ(PaneCaptions::TitleBarColour(2), colours::kBlue);
  EXPECT_EQ(PaneCaptions::TitleBarColour(3), colours::kFuchsia);
}

}  // namespace
}  // namespace velmora

namespace velmora {
namespace {

// A session that ends without saving (a crash: nothing is asked, the lock goes with the
// process) and one that starts after it, or beside it while it still runs.
class UnsavedMarksTest : public RecordingCommandsTest {
 protected:
  bool OpenInNewSession(Ui::Answer answer) {
    session.reset();
    return OpenAlongside(answer);
  }
  bool OpenAlongside(std::optional<Ui::Answer> answer = std::nullopt) {
    laterCommands.reset();
    laterReader.reset();
    later = std::make_unique<AnalysisState>();
    later->DefaultMatrixFileName = s->DefaultMatrixFileName;
    laterReader = std::make_unique<E00Reader>(*later, laterUi, root);
    laterCommands = std::make_unique<RecordingCommands>(*later, laterUi, *laterReader);
    if (answer) laterUi.answers.push_back(*answer);
    return laterCommands->OpenE00(first);
  }
  static void AddMark(AnalysisState& state, int electrode, int time) {
    state.PointerChannel = electrode;
    MarkStore::AddMarkRecord(state, time, kSlowWave);
  }
  std::string Journal() const { return MarkJournal::PathFor(dir.File("first.M00")); }
  testing::ScriptedUi laterUi;
  std::unique_ptr<AnalysisState> later;
  std::unique_ptr<E00Reader> laterReader;
  std::unique_ptr<RecordingCommands> laterCommands;
};

TEST_F(UnsavedMarksTest, EditsOfASessionEndedWithoutSavingAreRestoredOnYes) {
  commands.RecordMarkEdits();
  ASSERT_TRUE(OpenInNewSession(Ui::Answer::Yes));
  ASSERT_EQ(laterUi.questions.size(), 1u);
  EXPECT_EQ(laterUi.questions[0].rfind("1 mark edit(s) made until ", 0), 0u) << laterUi.questions[0];
  ASSERT_EQ(later->MarkCount, 1);
  EXPECT_EQ(later->Mark(1).Time, 500);
  EXPECT_EQ(later->Mark(1).Electrode, 30);
  EXPECT_TRUE(later->MarksChanged);
}

TEST_F(UnsavedMarksTest, OnNoTheJournalIsSetAsideNotDeleted) {
  commands.RecordMarkEdits();
  const std::string text = testing::ReadFile(Journal());
  ASSERT_TRUE(OpenInNewSession(Ui::Answer::No));
  EXPECT_EQ(later->MarkCount, 0);
  EXPECT_FALSE(std::filesystem::exists(Journal()));
  ASSERT_FALSE(laterUi.messages.empty());
  const std::string& told = laterUi.messages.back();
  const std::string prefix = "The unsaved mark edits have been kept in ";
  ASSERT_EQ(told.rfind(prefix, 0), 0u) << told;
  EXPECT_EQ(testing::ReadFile(told.substr(prefix.size())), text);
}

TEST_F(UnsavedMarksTest, SavingOrNotSavingRemovesTheJournal) {
  for (const Ui::Answer answer : {Ui::Answer::Yes, Ui::Answer::No}) {
    if (s->ElgFileName != first) ASSERT_TRUE(commands.OpenE00(first));
    s->PointerChannel = 31;
    MarkStore::AddMarkRecord(*s, 700, kSlowWave);
    commands.RecordMarkEdits();
    ASSERT_TRUE(std::filesystem::exists(Journal())) << int(answer);
    ui.answers.push_back(answer);
    ASSERT_TRUE(commands.OpenE00(second));
    EXPECT_FALSE(std::filesystem::exists(Journal()));
  }
}

// An undo is an edit like any other to the journal: replaying it gives the store the user left.
TEST_F(UnsavedMarksTest, TheJournalReplaysUndoAndRedo) {
  commands.RecordMarkEdits("mark");
  s->PointerChannel = 31;
  MarkStore::AddMarkRecord(*s, 700, kSlowWave);
  commands.RecordMarkEdits("mark");
  MarkStore::SwitchAttribute(*s, ui, 30, 0, 1000);
  commands.RecordMarkEdits("switch");
  ASSERT_TRUE(commands.UndoMarkEdit());  // the switch
  ASSERT_TRUE(commands.UndoMarkEdit());  // the second mark
  ASSERT_TRUE(commands.RedoMarkEdit());
  ASSERT_TRUE(OpenInNewSession(Ui::Answer::Yes));
  ASSERT_EQ(later->MarkCount, 2);
  EXPECT_EQ(later->Mark(1).Kind, kSlowWave);
  EXPECT_EQ(later->Mark(2).Time, 700);
  EXPECT_EQ(later->Mark(2).Electrode, 31);
}

TEST_F(RecordingCommandsTest, OpeningARecordingForgetsTheUndoStepsOfTheOneBefore) {
  commands.RecordMarkEdits("mark");
  ASSERT_EQ(commands.History().UndoName(), "mark");
  ui.answers.push_back(Ui::Answer::No);
  ASSERT_TRUE(commands.OpenE00(second));
  EXPECT_FALSE(commands.History().CanUndo());
  EXPECT_FALSE(commands.UndoMarkEdit());
}

}  // namespace
}  // namespace velmora

namespace velmora {
namespace {

// A second window on a recording the first still has open: the first's journal is live, not
// one left by a crash, and the second may neither take it nor save over the first's marks.
TEST_F(UnsavedMarksTest, ASecondSessionShowsALiveRecordingReadOnly) {
  commands.RecordMarkEdits();
  const std::string journal = testing::ReadFile(Journal());
  const std::string markFile = testing::ReadFile(dir.File("first.M00"));
  ASSERT_TRUE(OpenAlongside());
  EXPECT_TRUE(laterUi.questions.empty());
  EXPECT_TRUE(later->MarkFileReadOnly);
  AddMark(*later, 40, 900);
  laterCommands->RecordMarkEdits();
  EXPECT_FALSE(MarkSaving::SaveMarks(*later, laterUi));
  EXPECT_EQ(testing::ReadFile(Journal()), journal);
  EXPECT_EQ(testing::ReadFile(dir.File("first.M00")), markFile);
  ASSERT_TRUE(MarkSaving::SaveMarks(*s, ui));
  EXPECT_EQ(MarkFile::Read(dir.File("first.M00")).records.size(), 1u);
}

TEST_F(UnsavedMarksTest, ASaveOverAMarkFileChangedOnDiskAsksFirst) {
  const std::string theirs = dir.Write("first.M00", testing::MarkFileBytes({MarkRecord{40, kSlowWave, 800},
                                                                           MarkRecord{41, kSlowWave, 900}}));
  ui.answers = {Ui::Answer::No};
  EXPECT_FALSE(MarkSaving::SaveMarks(*s, ui));
  ASSERT_EQ(ui.questions.size(), 1u);
  EXPECT_NE(ui.questions[0].find("changed on disk"), std::string::npos) << ui.questions[0];
  EXPECT_EQ(MarkFile::Read(theirs).records.size(), 2u);
  ui.answers = {Ui::Answer::Yes};
  EXPECT_TRUE(MarkSaving::SaveMarks(*s, ui));
  EXPECT_EQ(MarkFile::Read(theirs).records.size(), 1u);
}

TEST_F(UnsavedMarksTest, CancelLeavesTheEditsForLaterAndSavesNothingOverThem) {
  commands.RecordMarkEdits();
  const std::string journal = testing::ReadFile(Journal());
  ASSERT_TRUE(OpenInNewSession(Ui::Answer::Cancel));
  EXPECT_EQ(later->MarkCount, 0);
  AddMark(*later, 40, 900);
  laterCommands->RecordMarkEdits();
  EXPECT_FALSE(MarkSaving::SaveMarks(*later, laterUi));
  EXPECT_EQ(testing::ReadFile(Journal()), journal);
  laterCommands.reset();
  ASSERT_TRUE(OpenAlongside(Ui::Answer::Yes));
  ASSERT_EQ(later->MarkCount, 1);
  EXPECT_EQ(later->Mark(1).Electrode, 30);
}

TEST_F(UnsavedMarksTest, EditsAreNotReplayedOntoAMarkFileChangedSince) {
  commands.RecordMarkEdits();
  dir.Write("first.M00", testing::MarkFileBytes({MarkRecord{40, kSlowWave, 800}}));
  ASSERT_TRUE(OpenInNewSession(Ui::Answer::Yes));
  ASSERT_EQ(later->MarkCount, 1);
  EXPECT_EQ(later->Mark(1).Electrode, 40);
  ASSERT_EQ(laterUi.errors.size(), 1u);
  EXPECT_NE(laterUi.errors[0].find("changed since"), std::string::npos) << laterUi.errors[0];
  EXPECT_FALSE(std::filesystem::exists(Journal()));  // kept under a name of its own
  EXPECT_EQ(laterUi.messages.back().rfind("The journal has been kept as ", 0), 0u);
}

TEST_F(UnsavedMarksTest, TheSettingsOfTheRunsComeBackWithTheEdits) {
  MarkSettingsFile::CaptureMarking(*s, "automatic SW marking");
  commands.RecordMarkEdits();
  const MarkSettings made = s->MarkingSettings;
  ASSERT_TRUE(OpenInNewSession(Ui::Answer::Yes));
  EXPECT_EQ(later->MarkingSettings, made);
  ASSERT_TRUE(MarkSaving::SaveMarks(*later, laterUi));
  EXPECT_EQ(MarkSettingsFile::ReadFile(MarkSettingsFile::PathFor(dir.File("first.M00"))), made);
}

}  // namespace
}  // namespace velmora
