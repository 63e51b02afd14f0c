#include <gtest/gtest.h>

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <string>

#include "core/AtomicFile.h"
#include "input/SampleFront.h"
#include "input/SampleRecording.h"
#include "input/TextSampleRecording.h"
#include "support/CliRunner.h"
#include "support/TempDir.h"

namespace velmora {
namespace {

using SampleRun = testing::CliRun;

SampleRun RunSample(const testing::TempDir& dir, const std::string& arguments) {
  return testing::RunCli("sample " + arguments, dir.File("stderr.txt"));
}

TEST(SampleCommandTest, WritesBothFilesIntoANewFolderAndPrintsTheirPaths) {
  testing::TempDir dir;
  const std::string folder = dir.File("new/sub");
  const SampleRun run =
      RunSample(dir, folder + " --seed 3 --seconds 5 --grid 4x3 --speed 5 --direction 90 --noise-uv 40 --mains-uv 80 "
                             "--mains-hz 60 --drift-uv 900 --drift-hz 0.2 --artifacts 12");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, folder + "/sample.E00\n" + folder + "/sample-matrix.txt\n" + folder + "/sample-truth.txt\n");
  SampleSettings settings;
  settings.seed = 3;
  settings.seconds = 5;
  settings.cols = 4;
  settings.rows = 3;
  settings.speedMmPerS = 5;
  settings.directionDeg = 90;
  settings.impairments = {.noiseUv = 40, .mainsUv = 80, .mainsHz = 60, .driftUv = 900, .driftHz = 0.2, .artifactsPerMinute = 12};
  EXPECT_TRUE(testing::ReadFile(folder + "/sample.E00") == SampleRecording::RecordingBytes(settings));
  EXPECT_EQ(testing::ReadFile(folder + "/sample-matrix.txt"), SampleRecording::MatrixText(settings));
}

TEST(SampleCommandTest, DefaultsToOneMinuteOnTheFullGrid) {
  testing::TempDir dir;
  const SampleRun run = RunSample(dir, dir.File("s"));
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(testing::ReadFile(dir.File("s/sample.E00")).size(), 4096u + 60020u * 512u);
  EXPECT_EQ(testing::ReadFile(dir.File("s/sample-matrix.txt")), SampleRecording::MatrixText(SampleSettings{}));
}

TEST(SampleCommandTest, RefusesAGridBeyondTheElectrodeChannels) {
  testing::TempDir dir;
  const SampleRun run = RunSample(dir, dir.File("s") + " --grid 16x16");
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.out, "");
  EXPECT_NE(run.err.find("256 cells"), std::string::npos) << run.err;
  EXPECT_FALSE(FileExists(dir.File("s/sample.E00")));
}

TEST(SampleCommandTest, RefusesAGridThatIsNotColsByRows) {
  testing::TempDir dir;
  const SampleRun run = RunSample(dir, dir.File("s") + " --grid 16by15");
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("COLSxROWS"), std::string::npos) << run.err;
}

TEST(SampleCommandTest, FormatWritesTheTextLayoutOnItsOwnGridBesideTheMatrix) {
  testing::TempDir dir;
  const std::string folder = dir.File("t");
  const SampleRun run = RunSample(dir, folder + " --format nashville --seconds 0.5 --seed 4");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, folder + "/sample-nashville.txt\n" + folder + "/sample-nashville-matrix.txt\n" + folder +
                        "/sample-nashville-truth.txt\n");
  SampleSettings settings = TextSampleRecording::DefaultSettings(TextSampleRecording::Layout::Nashville);
  settings.seconds = 0.5;
  settings.seed = 4;
  EXPECT_EQ(testing::ReadFile(folder + "/sample-nashville.txt"),
            TextSampleRecording::RecordingText(TextSampleRecording::Layout::Nashville, settings, ""));
  EXPECT_EQ(testing::ReadFile(folder + "/sample-nashville-matrix.txt"), SampleRecording::MatrixText(settings));
  EXPECT_EQ(testing::ReadFile(folder + "/sample-nashville-truth.txt"),
            SampleFront::TruthText(settings, SampleRecording::ActivationTimes(settings),
                                   SampleRecording::DeadChannels(settings)));
}

TEST(SampleCommandTest, RefusesImpairmentsOutOfRange) {
  testing::TempDir dir;
  for (const char* option : {"--noise-uv -1", "--mains-hz 500", "--drift-hz 0", "--artifacts 61", "--drift-uv nan"}) {
    const SampleRun run = RunSample(dir, dir.File("s") + " " + option);
    EXPECT_EQ(run.status, 2) << option;
    EXPECT_FALSE(FileExists(dir.File("s/sample.E00"))) << option;
  }
}

TEST(SampleCommandTest, FormatRefusesAnUnknownLayoutAndAGridTheLayoutCannotHold) {
  testing::TempDir dir;
  const SampleRun unknown = RunSample(dir, dir.File("s") + " --format csv");
  EXPECT_EQ(unknown.status, 2);
  EXPECT_NE(unknown.err.find("csv"), std::string::npos) << unknown.err;
  const SampleRun tooBig = RunSample(dir, dir.File("s") + " --format ni --grid 16x15");
  EXPECT_EQ(tooBig.status, 2);
  EXPECT_NE(tooBig.err.find("48 electrodes"), std::string::npos) << tooBig.err;
  EXPECT_FALSE(FileExists(dir.File("s/sample-ni.txt")));
}

}  // namespace
}  // namespace velmora
