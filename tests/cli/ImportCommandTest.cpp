#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include <fmt/format.h>

#include "core/AtomicFile.h"
#include "input/TextSampleRecording.h"
#include "support/CliRunner.h"
#include "support/MarkFileBytes.h"
#include "support/NITextBuilder.h"
#include "support/TempDir.h"

namespace velmora {
namespace {

// Row r, channel c holds r x 100 + c microvolts.
std::string Microvolts(int row, int channel) { return fmt::format("{:.6f}", (row * 100 + channel) / 1e6); }

class ImportCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ::setenv("XDG_DATA_HOME", dir.File("xdg").c_str(), 1);
    recording = dir.Write("run7.txt", testing::NIText(250, Microvolts));
  }
  testing::CliRun Run(const std::string& arguments) {
    return testing::RunCli("import " + arguments, dir.File("stderr.txt"));
  }
  std::string InfoLines(int rows) const {
    return fmt::format(
        "channels: 64\nbytes_per_sample: 0\nheader_frames: 0\nframes: 0\nsig_length: {0}\nrows_filled: {0}\n"
        "grid: 64x1\nelectrode_distance: 1\nmark_file: {1}\nmarks: 0\ndeleted_marks: 0\n",
        rows, dir.File("run7.Mxt"));
  }

  testing::TempDir dir;
  std::string recording;
};

TEST_F(ImportCommandTest, NIPrintsTheInfoLinesAndTheRowsAskedForAndWritesNothing) {
  const testing::CliRun run = Run("ni " + recording + " --signal-length 250 --rows 0:2 --channels-shown 1,64");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, InfoLines(250) + "0\t101\t164\n1\t201\t264\n");
  EXPECT_EQ(run.err, "");
  EXPECT_FALSE(FileExists(dir.File("run7.Mxt")));
}

// The mark file beside an NI recording names no matrix: the recording keeps its own layout and
// nothing is said about a matrix without a name.
TEST_F(ImportCommandTest, AMarkFileBesideIsReadWithoutAskingForAMatrix) {
  dir.Write("run7.Mxt", testing::MarkFileBytes({testing::HandMark(20, 100)}));
  const testing::CliRun run = Run("ni " + recording + " --signal-length 250");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_NE(run.out.find("\ngrid: 64x1\n"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("\nmarks: 1\n"), std::string::npos) << run.out;
}

TEST_F(ImportCommandTest, RowsShowTheFilesChannelsUnlessToldAndSmoothTakesTheMeanOfThe20After) {
  const testing::CliRun plain = Run("ni " + recording + " --signal-length 250 --rows 249:250");
  ASSERT_EQ(plain.status, 0) << plain.err;
  std::string last = "249";
  for (int c = 1; c <= 64; ++c) last += fmt::format("\t{}", 25000 + c);
  EXPECT_EQ(plain.out, InfoLines(250) + last + "\n");
  const testing::CliRun smoothed = Run("ni " + recording + " --signal-length 250 --smooth --rows 0:1 --channels-shown 1");
  ASSERT_EQ(smoothed.status, 0) << smoothed.err;
  // Row 0 becomes the mean of the file's lines 2 .. 21: 1150 + the channel.
  EXPECT_EQ(smoothed.out, InfoLines(250) + "0\t1151\n");
}

// Without answers the prompts' offers hold: 30000 lines of a longer file.
TEST_F(ImportCommandTest, NIReadsTheGeneratedSampleWithTheSignalLengthOffered) {
  const std::string folder = dir.File("sample");
  ASSERT_EQ(testing::RunCli("sample " + folder + " --format ni --seconds 30.5", dir.File("sample.err")).status, 0);
  const testing::CliRun run = Run("ni " + folder + "/sample-ni.txt --rows 29999:30000 --channels-shown 17,64");
  ASSERT_EQ(run.status, 0) << run.err;
  SampleSettings settings = TextSampleRecording::DefaultSettings(TextSampleRecording::Layout::NI);
  settings.seconds = 30.5;
  const auto channel17 = TextSampleRecording::ChannelSamples(settings, 17);
  const auto channel64 = TextSampleRecording::ChannelSamples(settings, 64);
  EXPECT_NE(run.out.find("\nsig_length: 30000\n"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find(fmt::format("\n29999\t{}\t{}\n", channel17[29999], channel64[29999])), std::string::npos)
      << run.out;
}

// The generator writes one signal in every layout: each laboratory reader gives the rows the
// NI reader gives (Nashville's file is written at 1000 Hz, not the panel's 30).
TEST_F(ImportCommandTest, EveryLayoutOfTheGeneratedSampleGivesTheSameRows) {
  const std::string folder = dir.File("sample");
  const std::string rows = " --rows 2000:2003 --channels-shown 17,30,48";
  std::string expected;
  for (const std::string layout : {"ni", "auckland", "manchester", "nashville"}) {
    SCOPED_TRACE(layout);
    ASSERT_EQ(testing::RunCli("sample " + folder + " --format " + layout + " --seconds 5", dir.File("s.err")).status, 0);
    const std::string answers = layout == "nashville" ? " --rate 1000" : layout == "ni" ? " --signal-length 5000" : "";
    const testing::CliRun run = Run(layout + " " + folder + "/sample-" + layout + ".txt" + answers + rows);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("\nsig_length: 5000\n"), std::string::npos) << run.out;
    EXPECT_EQ((run.out + run.err).find("holds only"), std::string::npos) << "no count was asked for";
    const std::string printed = run.out.substr(run.out.find("\n2000\t") + 1);
    if (expected.empty()) expected = printed;
    EXPECT_EQ(printed, expected);
  }
  EXPECT_EQ(std::count(expected.begin(), expected.end(), '\n'), 3);
}

TEST_F(ImportCommandTest, ACommandLineItCannotTakeExitsWith2AndReadsNothing) {
  struct Case {
    std::string arguments, message;
  };
  const std::vector<Case> cases = {
      {"auckland " + recording + " --rate 1000", "--rate"},
      {"nashville " + recording + " --rate 0", "--rate"},
      {"manchester " + recording + " --signal-length 250", "--signal-length"},
      {"ni " + recording + " --rate 1000", "--rate"},
      {"ni " + recording + " --channels 64", "--channels"},
      {"ni " + recording + " --signal-length 0", "--signal-length"},
      {"ni " + recording + " --samples many", "--samples"},
      {"ni " + recording + " --rows 3", "--rows"},
      {"ni " + recording + " --signal-length 250 --rows 0:251", "--rows 0:251"},
      {"ni " + recording + " --channels-shown 3", "--rows"},
  };
  for (const Case& c : cases) {
    const testing::CliRun run = Run(c.arguments);
    EXPECT_EQ(run.status, 2) << c.arguments;
    EXPECT_EQ(run.out, "") << c.arguments;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << c.arguments << "\n" << run.err;
  }
}

TEST_F(ImportCommandTest, AFileItCannotReadExitsWith1NamingFileAndLine) {
  std::string text = testing::NIText(3, Microvolts);
  text.replace(text.rfind("0.000364"), 8, "n/a");  // line 6 (the third data line), channel 64
  const std::string broken = dir.Write("broken.txt", text);
  struct Case {
    std::string path, message;
  };
  const std::string shortRow = dir.Write("short.txt", "h1\nh2\nh3\n1\t2\t3\n4\t5\n");
  for (const Case& c : {Case{"ni " + broken, "line 6"}, Case{"ni " + dir.File("missing.txt"), "missing.txt"},
                        Case{"nashville " + shortRow + " --channels 3", "line 5"}}) {
    const testing::CliRun run = Run(c.path);
    EXPECT_EQ(run.status, 1) << c.path;
    EXPECT_EQ(run.out, "") << c.path;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
  }
  EXPECT_NE(Run("ni " + broken).err.find("broken.txt"), std::string::npos);
}

}  // namespace
}  // namespace velmora
