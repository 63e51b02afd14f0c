#include <gtest/gtest.h>

#include <functional>

#include <memory>
#include <vector>

#include <fmt/format.h>

#include "core/AnalysisState.h"
#include "core/Arithmetic.h"
#include "core/AtomicFile.h"
#include "core/DataRoot.h"
#include "core/Errors.h"
#include "input/E00Reader.h"
#include "input/NISmoothing.h"
#include "input/NITextReader.h"
#include "marks/MarkStore.h"
#include "support/E00Builder.h"
#include "support/NITextBuilder.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"

namespace velmora {
namespace {

// Row r, channel c holds r x 100 + c microvolts.
std::string Microvolts(int row, int channel) { return fmt::format("{:.6f}", (row * 100 + channel) / 1e6); }

class NITextReaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root.EnsureExists();
    s->DefaultMatrixFileName = dir.Write("grid.txt", testing::NewMatrixText(16, 15));
  }
  std::string WriteNI(const std::string& name, int rows) { return dir.Write(name, testing::NIText(rows, Microvolts)); }
  void Read(const std::string& path, int signalLength) { NITextReader(*s, ui, root).Read(path, signalLength); }

  testing::TempDir dir;
  DataRoot root{dir.File("root")};
  testing::ScriptedUi ui;
  std::unique_ptr<AnalysisState> s = std::make_unique<AnalysisState>();
};

TEST_F(NITextReaderTest, NumbersStartAfterTheDateAndTimeFieldsAndAreStoredInMicrovolts) {
  std::string text = "h1\nh2\nh3\n";
  // The 23 characters before the numbers look like numbers too; none of them may be read.
  text += "1234567890\t123456789012";
  text += "\t0.0012 -0.00005 0.0000005 0.0000015";
  for (int c = 5; c <= 64; ++c) text += c == 64 ? " 2.6" : " 0.0015";
  text += "\n";
  const TextSamples samples = NITextReader::Parse("a.txt", text, 5, ui);
  ASSERT_EQ(samples.rows, 1);
  ASSERT_EQ(samples.channels, 64);
  EXPECT_EQ(samples.values[0], 1200);
  EXPECT_EQ(samples.values[1], -50);
  EXPECT_EQ(samples.values[2], 0);  // halves go to the even neighbour
  EXPECT_EQ(samples.values[3], 2);
  EXPECT_EQ(samples.values[63], 2600000);
  // Row, channel 5 as stored, channel 64 in volts rounded.
  ASSERT_EQ(ui.log.size(), 1u);
  EXPECT_EQ(ui.log[0], "1   1500  3");
}

TEST_F(NITextReaderTest, ALoadSetsTheOneRowLayoutAndShowsTheWholeSignal) {
  s->SamplingF = 30;  // left by an earlier import
  const std::string path = WriteNI("run7.txt", 250);
  Read(path, 250);
  EXPECT_EQ(s->SigLength, 250);
  EXPECT_EQ(s->Signal(249, 63), 25064);
  EXPECT_EQ(s->WindowA, 250);
  EXPECT_EQ(s->WindowAll, 250);
  EXPECT_EQ(s->NrCols, 64);
  EXPECT_EQ(s->NrRows, 1);
  EXPECT_EQ(s->NrTraces, 64);
  EXPECT_EQ(s->NIChannels, 64);
  EXPECT_EQ(s->SamplingF, 1000);
  EXPECT_EQ(s->FirstChannel, 1);
  EXPECT_EQ(s->TraceOrder, 0);
  EXPECT_EQ(s->ElectrodeX[63], 64);
  EXPECT_EQ(s->ElectrodeY[63], 1);
  EXPECT_EQ(s->ElectrodeX[64], -1);
  EXPECT_EQ(s->GridCell(64, 1), 64);
  EXPECT_EQ(s->GridCell(1, 2), -1);
  EXPECT_TRUE(s->FileLoaded);
  EXPECT_EQ(s->ElgFileName, path);
  EXPECT_EQ(s->MarkFileName, dir.File("run7.Mxt"));
  EXPECT_TRUE(FileExists(dir.File("run7.Mxt")));
  EXPECT_EQ(ui.progressPanels.at(0).maximum, 2);
  EXPECT_EQ(ui.progressSteps, 2);
  EXPECT_EQ(ui.progressTexts.back(), "reading line nr = 200");
  ASSERT_GE(ui.log.size(), 250u);
  EXPECT_EQ(ui.log[249], "250   25005  0");
}

TEST_F(NITextReaderTest, ReopeningBindsTheMarkFileBesideTheRecording) {
  const std::string path = WriteNI("run7.txt", 100);
  Read(path, 100);
  s->PointerChannel = 3;
  MarkStore::AddMarkRecord(*s, 40, kSlowWave);
  WriteMarkFile(*s, ui);
  Read(path, 100);
  ASSERT_EQ(s->MarkCount, 1);
  EXPECT_EQ(s->Mark(1).Time, 40);
}

TEST_F(NITextReaderTest, AnEarlierRecordingLeavesNothingBehind) {
  s->SmoothElectrograms = false;
  E00Reader(*s, ui, root).Open(dir.Write("big.E00", testing::E00Builder{}.Bytes()));
  ASSERT_NE(s->Signal(900, 100), 0);
  ASSERT_NE(s->Signal(10, 100), 0);
  Read(WriteNI("short.txt", 300), 300);
  EXPECT_EQ(s->SignalRows(), 300);  // no row beyond the text recording
  EXPECT_EQ(s->Signal(10, 100), 0);    // a channel beyond its 64
  EXPECT_EQ(s->SignalRowsTouched, 300);
}

TEST_F(NITextReaderTest, AFileThatEndsEarlyGivesTheLinesItHoldsAndSaysSo) {
  Read(WriteNI("run.txt", 120), 30000);
  EXPECT_EQ(s->SigLength, 120);
  EXPECT_EQ(s->WindowA, 120);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_NE(ui.messages[0].find("only 120 data lines"), std::string::npos);
}

// A signal length past the 60,000 samples the smoothing once held is read as far as the file
// goes; room is made for the lines the file can hold, not for the length asked.
TEST_F(NITextReaderTest, ASignalLengthBeyondTheOldSmoothingBufferReadsTheWholeFile) {
  const std::string path = WriteNI("run.txt", 10);
  const TextSamples samples = NITextReader::Parse(path, ReadWholeFile(path), 2000000000, ui);
  EXPECT_EQ(samples.rows, 10);
  Read(path, 70000);
  EXPECT_EQ(s->SigLength, 10);
  EXPECT_EQ(s->SignalRows(), 10);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_NE(ui.messages[0].find("only 10 data lines"), std::string::npos) << ui.messages[0];
}

TEST_F(NITextReaderTest, TheMarkFileReplacesTheExtensionOnly) {
  const std::pair<std::string, std::string> cases[] = {
      {"/d/run7.txt", "/d/run7.Mxt"},
      {"/d/run7.dat2", "/d/run7.Mxt"},
      {"/d/run7", "/d/run7.Mxt"},
      {"/d.x/run7", "/d.x/run7.Mxt"},
  };
  for (const auto& [recording, markFile] : cases) EXPECT_EQ(TextRecording::MarkFileNameFor(recording), markFile);
  EXPECT_THROW(TextRecording::MarkFileNameFor("/d/run7.Mxt"), IoError);
}

struct BadFile {
  const char* name;
  std::string text;
  int line;  // 0: no line named
  const char* problem;
};

TEST_F(NITextReaderTest, ABadFileIsRefusedNamingFileAndLineAndTheLoadedRecordingStays) {
  const std::string good = WriteNI("good.txt", 200);
  Read(good, 200);
  s->PointerChannel = 3;
  MarkStore::AddMarkRecord(*s, 40, kSlowWave);
  std::string shortLine = testing::NIText(3, Microvolts);
  shortLine.replace(shortLine.rfind("\t0.000364"), std::string::npos, "\n");
  std::string word = testing::NIText(2, Microvolts);
  word.replace(word.find("0.000205"), 8, "n/a");
  const BadFile cases[] = {
      {"short.txt", shortLine, 6, "63 of the 64"},
      {"word.txt", word, 5, "'n/a'"},
      {"empty.txt", "", 1, "header"},
      {"tiny.txt", "ab", 1, "header"},
      {"headeronly.txt", "a\nb\nc\n\n", 3, "no data lines"},
      {"binary.txt", std::string("\x7f" "ELF\0\0\x01", 7) + std::string(100, '\0'), 0, "not a text file"},
  };
  for (const BadFile& bad : cases) {
    SCOPED_TRACE(bad.name);
    const std::string path = dir.Write(bad.name, bad.text);
    try {
      Read(path, 30000);
      ADD_FAILURE() << "read";
    } catch (const IoError& error) {
      const std::string what = error.what();
      EXPECT_NE(what.find(path), std::string::npos) << what;
      if (bad.line > 0) {
        EXPECT_NE(what.find(fmt::format("line {}:", bad.line)), std::string::npos) << what;
      }
      EXPECT_NE(what.find(bad.problem), std::string::npos) << what;
    }
    EXPECT_FALSE(FileExists(dir.File(std::string(bad.name).substr(0, std::string(bad.name).find('.')) + ".Mxt")));
    EXPECT_EQ(s->ElgFileName, good);
    EXPECT_EQ(s->SigLength, 200);
    EXPECT_EQ(s->Signal(199, 0), 20001);
    EXPECT_EQ(s->MarkCount, 1);
  }
  EXPECT_THROW(Read(dir.File("missing.txt"), 100), IoError);
  EXPECT_EQ(s->ElgFileName, good);
}

class NISmoothingTest : public ::testing::Test {
 protected:
  void Fill(int length) {
    s->SigLength = length;
    s->SignalRowsTouched = length;
    s->NIChannels = 64;
    for (int r = 0; r < length; ++r)
      for (int c = 0; c < 65; ++c) s->Signal(r, c) = (r + 1) * (r + 1) + c;
  }
  testing::ScriptedUi ui;
  std::unique_ptr<AnalysisState> s = std::make_unique<AnalysisState>();
};

TEST_F(NISmoothingTest, EachSampleBecomesTheMeanOfThe20After) {
  Fill(21);
  NISmoothing::Smooth(*s, ui);
  // Samples 2..21 of channel c: 3310 + 20c over 20 is 165.5 + c, rounded to even.
  EXPECT_EQ(s->Signal(0, 0), 166);
  EXPECT_EQ(s->Signal(0, 1), 166);
  EXPECT_EQ(s->Signal(0, 63), 228);
  for (int r = 1; r < 21; ++r) EXPECT_EQ(s->Signal(r, 0), (r + 1) * (r + 1));
  EXPECT_EQ(s->Signal(0, 64), 1 + 64);  // beyond NIChannels
  EXPECT_EQ(ui.progressPanels.at(0).maximum, 24);
}

TEST_F(NISmoothingTest, LongerSignalsAreAveragedFromTheUnsmoothedSamples) {
  Fill(100);
  NISmoothing::Smooth(*s, ui);
  for (int i : {0, 1, 50, 79}) {
    int64_t sum = 0;
    for (int k = i + 1; k <= i + 20; ++k) sum += int64_t(k + 1) * (k + 1) + 2;
    EXPECT_EQ(s->Signal(i, 2), RoundedMean(sum, 20)) << i;
  }
  EXPECT_EQ(s->Signal(80, 2), 81 * 81 + 2);
  EXPECT_EQ(s->Signal(99, 2), 100 * 100 + 2);
}

TEST_F(NISmoothingTest, TwentySamplesOrFewerStayButEveryChannelIsStepped) {
  Fill(20);
  s->ElgFileName = "/data/run7.txt";
  s->MatrixFileName = "/data/grid.txt";
  NISmoothing::Smooth(*s, ui);
  for (int r = 0; r < 20; ++r) EXPECT_EQ(s->Signal(r, 0), (r + 1) * (r + 1));
  EXPECT_EQ(ui.progressSteps, 64);
  EXPECT_EQ(ui.progressTexts.back(), "smoothing ele nr = 64");
  EXPECT_EQ(ui.progressTexts.front(), "now smoothing signals ...");
  // The panel's heading, and the recording and matrix it works on.
  EXPECT_EQ(ui.progressPanels.at(0).title, "Smoothing electrograms .....");
  EXPECT_EQ(ui.progressPanels.at(0).fileName, "run7.txt");
  EXPECT_EQ(ui.progressPanels.at(0).matrixName, "grid.txt");
}

// Channels are smoothed several at a time; every one of them, in whichever group, gets the
// means of its own unsmoothed samples, and the channel after the last is left alone. Sums of
// samples below 2^19 are taken in floats: up to there, then with the whole 32-bit range coming
// in on odd channels from row 150 on; and with samples near 2^23, whose means floats miss.
TEST_F(NISmoothingTest, EveryChannelGetsTheMeansOfItsOwnSamples) {
  const int length = 300, channels = 21;
  const std::vector<std::function<int32_t(uint32_t, int, int)>> fills = {
      [](uint32_t x, int r, int c) {
        return c % 2 == 1 && r >= 150 ? int32_t(x) : int32_t((x >> 7) % 1048575u) - 524287;
      },
      [](uint32_t x, int, int) { return 8388607 - int32_t((x >> 7) % 4096u); }};
  for (const auto& fill : fills) {
    s->SigLength = length;
    s->SignalRowsTouched = length;
    s->NIChannels = channels;
    std::vector<std::vector<int32_t>> before(channels + 1, std::vector<int32_t>(length));
    uint32_t random = 7;
    for (int r = 0; r < length; ++r)
      for (int c = 0; c <= channels; ++c) {
        random = random * 1103515245u + 12345u;
        before[size_t(c)][size_t(r)] = s->Signal(r, c) = fill(random, r, c);
      }
    NISmoothing::Smooth(*s, ui);
    for (int c = 0; c < channels; ++c) {
      for (int i = 0; i < length; ++i) {
        int64_t sum = 0;
        for (int k = i + 1; k <= i + 20 && i + 20 < length; ++k) sum += before[size_t(c)][size_t(k)];
        const int32_t expected = i + 20 < length ? RoundedMean(sum, 20) : before[size_t(c)][size_t(i)];
        ASSERT_EQ(s->Signal(i, c), expected) << "channel " << c + 1 << " sample " << i;
      }
    }
    for (int i = 0; i < length; ++i) ASSERT_EQ(s->Signal(i, channels), before[size_t(channels)][size_t(i)]);
  }
}

}  // namespace
}  // namespace velmora
