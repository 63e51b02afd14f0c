// A load stopped from its progress panel leaves the recording before it as it was.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <utility>

#include "commands/RecordingCommands.h"
#include "core/AnalysisState.h"
#include "core/DataRoot.h"
#include "input/E00Reader.h"
#include "marks/MarkStore.h"
#include "support/E00Builder.h"
#include "support/NITextBuilder.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"

namespace velmora {
namespace {

std::string Volts(int row, int channel) { return std::to_string(row * 100 + channel) + "e-6"; }

class CancelledLoadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root.EnsureExists();
    s->DefaultMatrixFileName = dir.Write("grid.txt", testing::NewMatrixText(16, 15));
    first = dir.Write("first.E00", testing::E00Builder{}.Bytes());
    testing::E00Builder other;
    other.frames = 3000;
    other.sample = [](int record, int channel) { return int16_t(record % 50 + channel * 3); };
    second = dir.Write("second.E00", other.Bytes());
    ASSERT_TRUE(commands.OpenE00(first));
    s->PointerChannel = 30;
    MarkStore::AddMarkRecord(*s, 500, kSlowWave);
    ui.answers.push_back(Ui::Answer::No);  // the changed marks are not saved
  }
  void ExpectFirstRecordingIntact(int32_t sample, int32_t sigLength) {
    EXPECT_EQ(s->ElgFileName, first);
    EXPECT_EQ(s->MarkFileName, dir.File("first.M00"));
    EXPECT_EQ(s->SigLength, sigLength);
    EXPECT_EQ(s->Signal(10, 20), sample);
    ASSERT_EQ(s->MarkCount, 1);
    EXPECT_EQ(s->Mark(1).Time, 500);
    EXPECT_EQ(s->Mark(1).Electrode, 30);
    EXPECT_EQ(s->NrCols, 16);
    EXPECT_EQ(ui.progressHidden, hiddenBefore + 1);
  }
  testing::TempDir dir;
  DataRoot root{dir.File("root")};
  testing::ScriptedUi ui;
  std::unique_ptr<AnalysisState> s = std::make_unique<AnalysisState>();
  E00Reader reader{*s, ui, root};
  RecordingCommands commands{*s, ui, reader};
  std::string first, second;
  int hiddenBefore = 0;
};

TEST_F(CancelledLoadTest, AnE00LoadCancelledHalfWayKeepsTheRecordingAndMarksBefore) {
  const int32_t sample = std::as_const(*s).Signal(10, 20), sigLength = s->SigLength;
  hiddenBefore = ui.progressHidden;
  ui.cancelAtEvents = ui.processEventsCalls + 5;  // after 5 of the 16 blocks of rows
  ui.openDialogAnswers.push_back(Ui::FileDialogResult{second, RecordingCommands::kE00Filter});
  EXPECT_FALSE(commands.OpenFile());
  ExpectFirstRecordingIntact(sample, sigLength);
  EXPECT_FALSE(std::filesystem::exists(dir.File("second.M00")));
  // Nothing of the cancelled load lingers: the next one goes through.
  ui.cancelAtEvents = 0;
  ui.answers.push_back(Ui::Answer::No);
  ASSERT_TRUE(commands.OpenE00(second));
  EXPECT_EQ(s->ElgFileName, second);
  EXPECT_NE(s->SigLength, sigLength);
  EXPECT_NE(std::as_const(*s).Signal(10, 20), sample);
}

TEST_F(CancelledLoadTest, AnNITextReadCancelledHalfWayKeepsTheRecordingAndMarksBefore) {
  const int32_t sample = std::as_const(*s).Signal(10, 20), sigLength = s->SigLength;
  hiddenBefore = ui.progressHidden;
  ui.cancelAtEvents = ui.processEventsCalls + 2;
  ui.openDialogAnswers.push_back(Ui::FileDialogResult{dir.Write("run7.txt", testing::NIText(1500, Volts)),
                                                      RecordingCommands::kNIFilter});
  ui.inputs = {std::string("1000"), std::string("1500")};
  EXPECT_FALSE(commands.OpenFile());
  ExpectFirstRecordingIntact(sample, sigLength);
}

}  // namespace
}  // namespace velmora
