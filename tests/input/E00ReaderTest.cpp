#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <memory>

#include "core/AnalysisState.h"
#include "core/Arithmetic.h"
#include "core/AtomicFile.h"
#include "core/DataRoot.h"
#include "core/Errors.h"
#include "input/E00Reader.h"
#include "input/MatrixChooser.h"
#include "marks/AmplitudeCalculation.h"
#include "marks/MarkFile.h"
#include "marks/MarkStore.h"
#include "support/E00Builder.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"

namespace velmora {
namespace {

using testing::E00Builder;
using testing::TempDir;

class E00ReaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root.EnsureExists();
    s->DefaultMatrixFileName = dir.Write("grid.txt", testing::NewMatrixText(16, 15));
  }
  std::string Write(const std::string& name, const E00Builder& builder) { return dir.Write(name, builder.Bytes()); }
  void Open(const std::string& path, RecordingOpenOptions options = {}) { reader.Open(path, options); }

  TempDir dir;
  DataRoot root{dir.File("root")};
  testing::ScriptedUi ui;
  std::unique_ptr<AnalysisState> s = std::make_unique<AnalysisState>();
  E00Reader reader{*s, ui, root};
};

TEST_F(E00ReaderTest, AThousandFramesFillRows0To979) {
  E00Builder rec;
  s->SmoothElectrograms = false;
  Open(Write("rec.E00", rec));
  EXPECT_EQ(s->NrOfFramesinFile, 1000);
  EXPECT_EQ(s->SigLength, 980);
  EXPECT_EQ(s->HeaderFrames, 8);
  // Row r holds frame r, which is the record after the skipped first one.
  for (int r : {0, 1, 500, 979})
    for (int c : {1, 17, 256}) EXPECT_EQ(s->Signal(r, c - 1), rec.sample(r + 1, c)) << r << " " << c;
  EXPECT_EQ(s->SignalRows(), 980);  // the store holds the recording's rows, no more
  EXPECT_EQ(ui.log.front(), "NrOfFramesinFile=1000");
}

TEST_F(E00ReaderTest, SmoothingIsTheRoundedMeanOfTheNextTwentyFrames) {
  E00Builder rec;
  Open(Write("rec.E00", rec));
  for (int r : {0, 1, 333, 978}) {
    for (int c : {1, 100, 256}) {
      int64_t sum = 0;
      for (int k = r + 1; k <= r + 20; ++k) sum += rec.sample(k + 1, c);
      EXPECT_EQ(s->Signal(r, c - 1), RoundHalfEven(sum / 20.0)) << r << " " << c;
    }
  }
}

TEST_F(E00ReaderTest, TheLastSmoothedRowCountsTheFrameAfterTheFileAsZero) {
  E00Builder rec;
  rec.sample = [](int, int) { return int16_t(40); };
  Open(Write("rec.E00", rec));
  EXPECT_EQ(s->Signal(978, 20), 40);
  EXPECT_EQ(s->Signal(979, 20), 38);  // 19 x 40 / 20
}

TEST_F(E00ReaderTest, SmoothingRoundsHalvesToEven) {
  E00Builder rec;
  // Frames alternate so that every 20-frame sum is 10 x (a + b).
  rec.sample = [](int k, int c) { return int16_t(c == 1 ? (k % 2 ? 1 : 2) : (k % 2 ? -1 : -2)); };
  Open(Write("rec.E00", rec));
  EXPECT_EQ(s->Signal(0, 0), 2);   // 30 / 20 = 1.5 -> 2
  EXPECT_EQ(s->Signal(0, 1), -2);  // -1.5 -> -2
  rec.sample = [](int k, int) { return int16_t(k % 2 ? 2 : 3); };
  Open(Write("rec2.E00", rec));
  EXPECT_EQ(s->Signal(0, 5), 2);  // 2.5 -> 2
}

TEST_F(E00ReaderTest, ColumnsAboveTheFilesChannelsHoldZero) {
  E00Builder rec;
  rec.channels = 3;
  s->SmoothElectrograms = false;
  Open(Write("rec.E00", rec));
  EXPECT_EQ(s->NrChannelsInFile, 3);
  EXPECT_EQ(s->HeaderFrames, 4096 / 6);
  EXPECT_EQ(s->Signal(5, 2), rec.sample(6, 3));
  EXPECT_EQ(s->Signal(5, 3), 0);
  EXPECT_EQ(s->Signal(5, 255), 0);
}

TEST_F(E00ReaderTest, AShorterRecordingLeavesNoSamplesOfTheLongerOneBehind) {
  E00Builder rec;
  rec.frames = 3000;
  Open(Write("long.E00", rec));
  ASSERT_NE(s->Signal(2500, 30), 0);
  rec.frames = 1000;
  Open(Write("short.E00", rec));
  EXPECT_EQ(s->SigLength, 980);
  EXPECT_EQ(s->SignalRows(), 980);
}

// The store is as long as the recording: nothing is cut at the 65,535 rows it once held.
TEST_F(E00ReaderTest, ARecordingLongerThanTheOldStoreLoadsWhole) {
  E00Builder rec;
  rec.channels = 1;
  rec.frames = 70000;
  rec.sample = [](int k, int) { return int16_t(k % 30000); };
  s->SmoothElectrograms = false;
  Open(Write("big.E00", rec));
  EXPECT_EQ(s->SigLength, 69980);
  EXPECT_EQ(s->SignalRows(), 69980);
  EXPECT_EQ(s->Signal(0, 0), 1);
  EXPECT_EQ(s->Signal(65534, 0), 65535 % 30000);
  EXPECT_EQ(s->Signal(69979, 0), 69980 % 30000);
  EXPECT_TRUE(ui.messages.empty());
}

// A recording the machine cannot hold is refused before a frame is read, saying what it
// needs; the recording loaded before stays. The file is sparse: its size says 137 GB of
// store without the disk holding it.
TEST_F(E00ReaderTest, ARecordingTooLargeForMemoryIsRefusedBeforeReading) {
  E00Builder rec;
  Open(Write("rec.E00", rec));
  const std::string huge = dir.Write("huge.E00", rec.Header());
  std::filesystem::resize_file(huge, uintmax_t(64) << 30);
  try {
    Open(huge);
    FAIL() << "opened";
  } catch (const IoError& error) {
    EXPECT_NE(std::string(error.what()).find("huge.E00: the recording's 134217700 samples per channel need 137.7 GB"
                                             " of memory; "),
              std::string::npos)
        << error.what();
  }
  EXPECT_EQ(s->ElgFileName, dir.File("rec.E00"));
  EXPECT_EQ(s->SigLength, 980);
  EXPECT_EQ(s->SignalRows(), 980);
}

TEST_F(E00ReaderTest, ALastFrameCutShortIsLeftOutAndReported) {
  E00Builder rec;
  const std::string path = dir.Write("cut.E00", rec.Bytes() + std::string(100, '\x01'));
  Open(path);
  EXPECT_EQ(s->NrOfFramesinFile, 1000);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_NE(ui.messages[0].find("cut.E00"), std::string::npos);
  EXPECT_NE(ui.messages[0].find("100 bytes"), std::string::npos);
}

TEST_F(E00ReaderTest, BrokenRecordingsAreRefusedAndTheEarlierOneStays) {
  E00Builder good;
  const std::string goodPath = Write("good.E00", good);
  Open(goodPath);
  const int32_t row0 = s->Signal(0, 20);
  std::vector<std::pair<std::string, std::string>> bad = {{"empty.E00", ""},
                                                          {"short.E00", std::string(1000, '\0')}};
  auto variant = [&](const std::string& name, auto change) {
    E00Builder b;
    change(b);
    bad.emplace_back(name, b.Bytes());
  };
  variant("nochannels.E00", [](E00Builder& b) { b.channels = 0; b.frames = 0; });
  variant("manychannels.E00", [](E00Builder& b) { b.channels = 257; b.frames = 30; });
  variant("nobytes.E00", [](E00Builder& b) { b.bytesPerSample = 0; b.frames = 30; });
  variant("fourbytes.E00", [](E00Builder& b) { b.bytesPerSample = 4; b.frames = 30; });
  auto headerLength = [&](const std::string& name, int16_t length) {
    std::string bytes = E00Builder{}.Bytes();
    std::memcpy(bytes.data() + 2, &length, 2);
    bad.emplace_back(name, bytes);
  };
  headerLength("longheader.E00", 30000);  // beyond the 20000 bytes it is cut to below
  headerLength("negheader.E00", -16);
  variant("headeronly.E00", [](E00Builder& b) { b.frames = 0; });
  variant("twentyframes.E00", [](E00Builder& b) { b.frames = 20; });
  for (auto& [name, bytes] : bad) {
    if (name == "longheader.E00") bytes.resize(20000);
    const std::string path = dir.Write(name, bytes);
    try {
      reader.Open(path);
      ADD_FAILURE() << name << " was opened";
    } catch (const IoError& error) {
      EXPECT_EQ(error.Path(), path);
    }
    EXPECT_EQ(s->ElgFileName, goodPath) << name;
    EXPECT_EQ(s->SigLength, 980) << name;
    EXPECT_EQ(s->Signal(0, 20), row0) << name;
    EXPECT_FALSE(FileExists(E00Reader::MarkFileNameFor(path))) << name;
  }
}

TEST_F(E00ReaderTest, TwentyOneFramesGiveOneRow) {
  E00Builder rec;
  rec.frames = 21;
  s->SmoothElectrograms = false;
  Open(Write("tiny.E00", rec));
  EXPECT_EQ(s->SigLength, 1);
  EXPECT_EQ(s->Signal(0, 0), rec.sample(1, 1));
}

TEST(MarkFileName, ChangesTheFirstLetterOfTheExtensionOnly) {
  EXPECT_EQ(E00Reader::MarkFileNameFor("/d/REC.E00"), "/d/REC.M00");
  EXPECT_EQ(E00Reader::MarkFileNameFor("/d/rec.E05"), "/d/rec.M05");
  EXPECT_EQ(E00Reader::MarkFileNameFor("/d/rec.e00"), "/d/rec.m00");
  EXPECT_EQ(E00Reader::MarkFileNameFor("/data.Exp/rec.E01"), "/data.Exp/rec.M01");
  EXPECT_EQ(E00Reader::MarkFileNameFor("/d/recording"), "/d/recording.M00");
  EXPECT_THROW(E00Reader::MarkFileNameFor("/d/rec.M00"), IoError);
}

TEST_F(E00ReaderTest, AMissingMarkFileIsCreatedAsAHeaderAndTheListUpdated) {
  const std::string path = Write("rec.E05", E00Builder{});
  Open(path);
  EXPECT_EQ(s->MarkFileName, dir.File("rec.M05"));
  EXPECT_EQ(testing::ReadFile(s->MarkFileName).size(), 4096u);
  EXPECT_EQ(s->MarkCount, 0);
  EXPECT_FALSE(s->MarksChanged);
  EXPECT_EQ(s->RecentFileKinds[0], "1");
  EXPECT_EQ(s->RecentFileNames[0], path);
  Open(path);
  EXPECT_EQ(s->RecentFileNames[1], path);
  EXPECT_EQ(testing::ReadFile(root.RecentFilesPath()).substr(0, path.size() + 2), "1\n" + path);
}

TEST_F(E00ReaderTest, HeadlessOpenWritesNothing) {
  const std::string path = Write("rec.E00", E00Builder{});
  Open(path, RecordingOpenOptions{false, false});
  EXPECT_FALSE(FileExists(dir.File("rec.M00")));
  EXPECT_EQ(testing::ReadFile(root.RecentFilesPath()), std::string(20, '\n'));
  EXPECT_EQ(s->RecentFileNames[0], "");
}

// A Ui that cuts the recording down to its header while the frames are being read, as a
// failing disk would leave the reader.
class RecordingCuttingUi : public testing::ScriptedUi {
 public:
  void ProcessEvents() override {
    ScriptedUi::ProcessEvents();
    if (!cut.empty()) std::filesystem::resize_file(cut, 4096);
  }
  std::string cut;
};

TEST_F(E00ReaderTest, ARecordingThatFailsToLoadGetsNoMarkFileAndNoListEntry) {
  RecordingCuttingUi cuttingUi;
  E00Reader cuttingReader(*s, cuttingUi, root);
  const std::string listBefore = testing::ReadFile(root.RecentFilesPath());
  const std::string badHeader = dir.Write("badheader.E00", std::string(1000, '\0'));
  const std::string cut = Write("cut.E00", E00Builder{});
  cuttingUi.cut = cut;
  for (const std::string& path : {badHeader, cut}) {
    EXPECT_THROW(cuttingReader.Open(path), IoError) << path;
    EXPECT_FALSE(FileExists(E00Reader::MarkFileNameFor(path))) << path;
    EXPECT_FALSE(s->FileLoaded) << path;
  }
  EXPECT_EQ(s->SignalRows(), 0);  // nothing of the half-read recording is shown
  EXPECT_EQ(s->RecentFileNames[0], "");
  EXPECT_EQ(testing::ReadFile(root.RecentFilesPath()), listBefore);
}

TEST_F(E00ReaderTest, AnExistingMarkFileIsReadAndTheUndoListEmptied) {
  const std::string path = Write("rec.E00", E00Builder{});
  Open(path);
  s->PointerChannel = 40;
  s->MarkCount = 0;
  s->UndoCount = 3;
  std::string file = testing::ReadFile(s->MarkFileName);
  file += std::string("\x28\x00\x01\x00\xe8\x03\x00\x00\x00\x00\x00\x00\x02\x00\x00\x00", 16);
  dir.Write("rec.M00", file);
  Open(path);
  ASSERT_EQ(s->MarkCount, 1);
  EXPECT_EQ(s->Mark(1).Electrode, 40);
  EXPECT_EQ(s->Mark(1).Time, 1000);
  EXPECT_EQ(s->Mark(1).Origin, 2);
  EXPECT_EQ(s->UndoCount, 0);
}

// Amplitude records belong to the marks of one recording; slot n of the next one is another mark.
TEST_F(E00ReaderTest, AmplitudeRecordsOfTheEarlierRecordingAreCleared) {
  const std::string withMarks = Write("marked.E00", E00Builder{});
  Open(withMarks);
  s->PointerChannel = 40;
  ASSERT_TRUE(MarkStore::AddMarkRecord(*s, 300, kSlowWave));
  WriteMarkFile(*s, ui);
  const std::string withoutMarks = Write("plain.E00", E00Builder{});
  for (const std::string& path : {withMarks, withoutMarks}) {
    AmplitudeCalculation::CalcAmplitudes(*s);
    ASSERT_EQ(s->MarkAmplitudes[0].Electrode, 40);
    Open(path);
    EXPECT_EQ(s->MarkAmplitudes[0].Electrode, kNoValue) << path;
  }
}

TEST_F(E00ReaderTest, ABrokenMarkFileKeepsTheEarlierRecordingAndTheFile) {
  const std::string first = Write("first.E00", E00Builder{});
  Open(first);
  const std::string second = Write("second.E00", E00Builder{});
  const std::string broken = dir.Write("second.M00", std::string(100, '\x07'));
  EXPECT_THROW(reader.Open(second), IoError);
  EXPECT_EQ(s->ElgFileName, first);
  EXPECT_EQ(testing::ReadFile(broken), std::string(100, '\x07'));
}

struct MissingMatrix {
  const char* named;   // the matrix chosen last, "" for none
  const char* beside;  // a matrix file beside the recording, "" for none
  Ui::Answer answer;   // to the offer of the one beside
  const char* said;    // how the message or question begins
  int dialogs;         // "Open New Matrix File" dialogs shown (the test picks other.txt)
  int cols;            // grid width loaded: 5 beside, 3 other.txt
};

// The first recording of a first run has no matrix chosen: it is never named as "", and a
// matrix lying beside the recording is offered before any dialog.
TEST_F(E00ReaderTest, AMissingMatrixIsSaidByNameAndOneBesideTheRecordingIsOfferedFirst) {
  const MissingMatrix cases[] = {
      {"", "", Ui::Answer::Yes, "No electrode matrix has been chosen yet.", 1, 3},
      {"", "one-matrix.txt", Ui::Answer::Yes, "No electrode matrix has been chosen yet.\none-matrix.txt lies beside", 0, 5},
      {"gone/m5.txt", "m5.txt", Ui::Answer::Yes, "/gone/m5.txt is not found! (newE00)\nm5.txt lies beside", 0, 5},
      {"gone/m5.txt", "m5.txt", Ui::Answer::No, "/gone/m5.txt is not found! (newE00)\nm5.txt lies beside", 1, 3},
      {"gone/m5.txt", "", Ui::Answer::Yes, "/gone/m5.txt is not found! (newE00)", 1, 3},
  };
  const std::string other = dir.Write("other.txt", testing::NewMatrixText(3, 2));
  int n = 0;
  for (const MissingMatrix& c : cases) {
    SCOPED_TRACE(n);
    const TempDir folder;
    const std::string recording = folder.Write(n == 1 ? "one.E00" : "rec.E00", E00Builder{}.Bytes());
    ++n;
    if (*c.beside != 0) folder.Write(c.beside, testing::NewMatrixText(5, 2));
    s->DefaultMatrixFileName = *c.named == 0 ? "" : folder.File(c.named);
    ui = testing::ScriptedUi();
    ui.answers.push_back(c.answer);
    ui.openDialogAnswers.push_back(Ui::FileDialogResult{other, 1});
    Open(recording);
    const std::string said = ui.questions.empty() ? ui.messages.at(0) : ui.questions.at(0);
    const std::string expected = *c.named == 0 ? c.said : folder.File("") + std::string(c.said).substr(1);
    EXPECT_EQ(said.substr(0, expected.size()), expected);
    EXPECT_EQ(int(ui.openDialogs.size()), c.dialogs);
    EXPECT_EQ(s->NrCols, c.cols);
    EXPECT_EQ(s->DefaultMatrixFileName, c.cols == 5 ? folder.File(c.beside) : other);  // now the one chosen last
    EXPECT_EQ(MatrixChooser::RememberedNewMatrix(root), s->DefaultMatrixFileName);   // also for the runs to come
  }
}

TEST_F(E00ReaderTest, ACancelledMatrixDialogStillLoadsTheRecording) {
  s->DefaultMatrixFileName = dir.File("missing.txt");
  Open(Write("rec.E00", E00Builder{}));
  EXPECT_EQ(ui.messages.at(0), dir.File("missing.txt") + " is not found! (newE00)");
  EXPECT_TRUE(s->FileLoaded);
  EXPECT_EQ(s->SigLength, 980);
}

TEST_F(E00ReaderTest, AMatrixWithoutElectrodesIsRefusedAndTheOneInUseKept) {
  const std::string inUse = s->DefaultMatrixFileName;
  const std::string recording = Write("rec.E00", E00Builder{});
  Open(recording);
  s->DefaultMatrixFileName = dir.Write("FileList.Txt", "1\n" + recording + "\n");
  Open(recording);
  ASSERT_FALSE(ui.errors.empty());
  EXPECT_NE(ui.errors[0].find(s->DefaultMatrixFileName), std::string::npos) << ui.errors[0];
  ASSERT_EQ(ui.openDialogs.size(), 1u);  // another matrix is offered; the test cancels
  EXPECT_EQ(s->MatrixFileName, inUse);
  EXPECT_EQ(s->NrCols, 16);
  EXPECT_EQ(s->NrRows, 15);
  EXPECT_EQ(s->GridCell(16, 15), 256);
  EXPECT_TRUE(s->FileLoaded);
}

TEST_F(E00ReaderTest, ProgressStepsOncePerChannel) {
  Open(Write("rec.E00", E00Builder{}));
  EXPECT_EQ(ui.progressSteps, 256);
  ASSERT_EQ(ui.progressPanels.size(), 1u);
  EXPECT_EQ(ui.progressPanels[0].fileName, "rec.E00");
  EXPECT_EQ(ui.progressPanels[0].matrixName, "grid.txt");
  EXPECT_EQ(ui.progressTexts.front(), "Smoothing electrograms ...");
  EXPECT_EQ(ui.progressTexts.back(), "Smoothing electrogram nr = 256");
  EXPECT_EQ(ui.progressHidden, 1);
}

}  // namespace
}  // namespace velmora
