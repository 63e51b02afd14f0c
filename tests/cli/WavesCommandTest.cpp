#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "core/MarkRecord.h"
#include "support/CliRunner.h"
#include "support/E00Builder.h"
#include "support/MarkFileBytes.h"
#include "support/TempDir.h"

namespace velmora {
namespace {

using testing::HandMark;

// A 3 x 2 grid: channels 17, 18, 19 on the top row, 20, 21, 22 below.
class WavesCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ::setenv("XDG_DATA_HOME", dir.File("xdg").c_str(), 1);
    matrix = dir.Write("grid.txt", testing::NewMatrixText(3, 2));
    recording = dir.Write("rec.E00", testing::E00Builder{}.Bytes());
    marks = dir.Write("rec.M00", testing::MarkFileBytes({HandMark(19, 1700), HandMark(17, 1000), HandMark(18, 1300),
                                                         HandMark(22, 2200), HandMark(20, 900, kSpike), HandMark(21, 1000, kSpike)}));
  }
  testing::CliRun Waves(const std::string& rest) {
    return testing::RunCli("waves " + recording + " --matrix " + matrix + " --marks " + marks + " " + rest,
                           dir.File("stderr.txt"));
  }

  testing::TempDir dir;
  std::string matrix, recording, marks;
};

TEST_F(WavesCommandTest, PrintsTheMembersOfEachWaveByChannelAfterTheReference) {
  const testing::CliRun slow = Waves("--reference 100");
  ASSERT_EQ(slow.status, 0) << slow.err;
  EXPECT_EQ(slow.out, "NrWaves: 2\nwave 1: 17:900 18:1200 19:1600\nwave 2: 22:2100\n");
  const testing::CliRun wide = Waves("--difference 501");
  ASSERT_EQ(wide.status, 0) << wide.err;
  EXPECT_EQ(wide.out, "NrWaves: 1\nwave 1: 17:1000 18:1300 19:1700 22:2200\n");
  const testing::CliRun spikes = Waves("--type 2");
  ASSERT_EQ(spikes.status, 0) << spikes.err;
  EXPECT_EQ(spikes.out, "NrWaves: 1\nwave 1: 20:900 21:1000\n");
}

TEST_F(WavesCommandTest, RefusesBadOptionsAndMissingFiles) {
  for (const std::string bad : {"--type 0", "--difference 0", "--reference x"}) {
    SCOPED_TRACE(bad);
    EXPECT_EQ(Waves(bad).status, 2);
  }
  const testing::CliRun missing = testing::RunCli(
      "waves " + recording + " --matrix " + matrix + " --marks " + dir.File("none.M00"), dir.File("stderr.txt"));
  EXPECT_EQ(missing.status, 1);
}

// The reference chosen from the table by electrode and time shifts the times as its time does.
TEST_F(WavesCommandTest, AReferenceMarkFromTheMarksShiftsTheTimesAndAnUnknownOneIsRefused) {
  marks = dir.Write("ref.M00", testing::MarkFileBytes({HandMark(19, 1700), HandMark(17, 1000), HandMark(18, 1300),
                                                       HandMark(22, 2200), HandMark(20, 100, kReferenceMark)}));
  const testing::CliRun chosen = Waves("--reference-mark 20:100");
  ASSERT_EQ(chosen.status, 0) << chosen.err;
  EXPECT_EQ(chosen.out, "NrWaves: 2\nwave 1: 17:900 18:1200 19:1600\nwave 2: 22:2100\n");
  EXPECT_EQ(Waves("--reference-mark 0:0").out, "NrWaves: 2\nwave 1: 17:1000 18:1300 19:1700\nwave 2: 22:2200\n");
  EXPECT_EQ(Waves("--reference-mark 21:100").status, 1);
  for (const std::string bad : {"--reference-mark 20", "--reference-mark 20:x", "--reference-mark 257:1",
                                "--reference-mark 20:100 --reference 5"}) {
    SCOPED_TRACE(bad);
    EXPECT_EQ(Waves(bad).status, 2);
  }
}

bool EndsALine(const std::string& text, const std::string& ending) { return text.find(ending + "\n") != std::string::npos; }

// The wave pane draws the chosen wave's times, and what the waves verb lists is what it shows.
TEST_F(WavesCommandTest, RenderDrawsTheChosenWave) {
  for (const int wave : {1, 2, 3}) {
    SCOPED_TRACE(wave);
    const std::string out = dir.File("wave" + std::to_string(wave) + ".txt");
    const testing::CliRun r = testing::RunCli("render " + recording + " --matrix " + matrix + " --marks " + marks +
                                                  " --pane wave --statistics --wave " + std::to_string(wave) + " --out " + out,
                                              dir.File("stderr.txt"));
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string drawing = testing::ReadFile(out);
    EXPECT_EQ(EndsALine(drawing, " 1300"), wave == 1);
    EXPECT_EQ(EndsALine(drawing, " 2200"), wave == 2);
    EXPECT_EQ(EndsALine(drawing, "Area = 3 (6.8 mm2)"), wave == 1);
  }
}

}  // namespace
}  // namespace velmora
