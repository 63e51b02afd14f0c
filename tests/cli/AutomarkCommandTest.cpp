#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <sstream>
#include <string>

#include <fmt/format.h>

#include "core/AnalysisState.h"
#include "core/AtomicFile.h"
#include "core/SessionLock.h"
#include "input/SampleRecording.h"
#include "input/SampleScore.h"
#include "marks/MarkStore.h"
#include "support/CliRunner.h"
#include "support/E00Builder.h"
#include "support/TempDir.h"

namespace velmora {
namespace {

using testing::CliRun;

CliRun RunVelmoraCli(const std::string& arguments, const std::string& errFile) {
  return testing::RunCli(arguments, errFile);
}

// A flat recording (980 samples) with one dip of -2000 over samples 300..310 on electrode 17
// and over 500..510 on electrode 30.
class AutomarkCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ::setenv("XDG_DATA_HOME", dir.File("xdg").c_str(), 1);
    rec.sample = [](int record, int channel) -> int16_t {
      if (channel == 17 && record >= 300 && record <= 310) return -2000;
      if (channel == 30 && record >= 500 && record <= 510) return -2000;
      return 0;
    };
    matrix = dir.Write("grid.txt", testing::NewMatrixText(16, 15));
    recording = dir.Write("rec.E00", rec.Bytes());
  }
  CliRun Run(const std::string& arguments) { return RunVelmoraCli(arguments, dir.File("stderr.txt")); }
  std::string Errors() const { return testing::ReadFile(dir.File("stderr.txt")); }

  testing::TempDir dir;
  testing::E00Builder rec;
  std::string matrix, recording;
};

TEST_F(AutomarkCommandTest, PrintsTheNewMarksAndWritesNothingUnasked) {
  const CliRun r = Run("automark " + recording + " --matrix " + matrix + " --raw");
  ASSERT_EQ(r.status, 0) << Errors();
  EXPECT_EQ(r.out, "17\t1\t300\t2\n30\t1\t500\t2\n");
  EXPECT_FALSE(FileExists(dir.File("rec.M00")));
}

TEST_F(AutomarkCommandTest, WrittenMarksFeedTheAmplitudes) {
  const CliRun marked = Run("automark " + recording + " --matrix " + matrix + " --raw --write");
  ASSERT_EQ(marked.status, 0) << Errors();
  const CliRun listed = Run("marks " + dir.File("rec.M00"));
  ASSERT_EQ(listed.status, 0) << Errors();
  EXPECT_EQ(listed.out, marked.out);
  const CliRun amplitudes =
      Run("amplitudes " + recording + " --matrix " + matrix + " --raw --marks " + dir.File("rec.M00"));
  ASSERT_EQ(amplitudes.status, 0) << Errors();
  // Window 1..800 and 1..980; the fall of 2000 over 24 samples is 2000 / 747 x 40 mV/s.
  EXPECT_EQ(amplitudes.out,
            "1\t17\t300\t0\t1\t-2000\t300\t276\t107.095\t-12345\n"
            "2\t30\t500\t0\t1\t-2000\t500\t476\t107.095\t-12345\n");
}

TEST_F(AutomarkCommandTest, MarkingAgainAddsNothing) {
  const std::string automark = "automark " + recording + " --matrix " + matrix + " --raw --write";
  ASSERT_EQ(Run(automark).status, 0) << Errors();
  const CliRun again = Run(automark);
  ASSERT_EQ(again.status, 0) << Errors();
  EXPECT_EQ(again.out, "");
  const CliRun listed = Run("marks " + dir.File("rec.M00"));
  EXPECT_EQ(listed.out, "17\t1\t300\t2\n30\t1\t500\t2\n");
}

TEST_F(AutomarkCommandTest, ARecordingThatDoesNotLoadGetsNoMarkFile) {
  const std::string list = dir.Write("FileList.Txt", "1\n" + recording + "\n");
  const std::string cut = dir.Write("cut.E00", rec.Bytes().substr(0, 3000));
  for (const std::string& arguments : {recording + " --matrix " + list, cut + " --matrix " + matrix}) {
    EXPECT_EQ(Run("automark " + arguments + " --write").status, 1) << arguments;
    EXPECT_FALSE(FileExists(dir.File("rec.M00"))) << arguments;
    EXPECT_FALSE(FileExists(dir.File("cut.M00"))) << arguments;
  }
}

// --method robust on a generated recording with drift, mains, noise, an artifact and dead
// electrodes: its marks, read back from the output, match the truth.
TEST_F(AutomarkCommandTest, TheRobustMethodMarksTheActivationsOfAnImpairedSample) {
  const std::string impairments = " --noise-uv 60 --mains-uv 100 --drift-uv 3000 --artifacts 2";
  ASSERT_EQ(Run("sample " + dir.File("s") + " --seconds 30 --grid 12x10 --speed 12" + impairments).status, 0);
  const CliRun r = Run("automark " + dir.File("s/sample.E00") + " --matrix " + dir.File("s/sample-matrix.txt") +
                       " --method robust");
  ASSERT_EQ(r.status, 0) << Errors();
  SampleSettings settings;
  settings.seconds = 30, settings.cols = 12, settings.rows = 10, settings.speedMmPerS = 12;
  settings.impairments = {.noiseUv = 60, .mainsUv = 100, .driftUv = 3000, .artifactsPerMinute = 2};
  auto state = std::make_unique<AnalysisState>();
  for (int c = 17; c < 17 + 120; ++c) state->ElectrodeX[size_t(c - 1)] = state->ElectrodeY[size_t(c - 1)] = 1;
  std::istringstream lines(r.out);
  for (int electrode = 0, kind = 0, time = 0, origin = 0; lines >> electrode >> kind >> time >> origin;) {
    state->PointerChannel = electrode;
    MarkStore::AddMarkRecord(*state, time, kind);
  }
  const MarkScore score = SampleScore::Score(*state, SampleRecording::ActivationTimes(settings),
                                             SampleRecording::DeadChannels(settings));
  EXPECT_GE(score.Sensitivity(), 0.97);
  EXPECT_GE(score.PositivePredictiveValue(), 0.97);
  EXPECT_EQ(score.deadMarks, 0);
  // After the marks, on stderr alone, what the window tells: the marks made and the dead.
  EXPECT_EQ(r.out.find("Automatic"), std::string::npos);
  const std::vector<int> dead = SampleRecording::DeadChannels(settings);
  ASSERT_EQ(dead.size(), 3u);
  EXPECT_NE(Errors().find(fmt::format("Automatic marking made {} marks. Electrodes {}, {} and {} look dead",
                                      state->MarkCount, dead[0], dead[1], dead[2])),
            std::string::npos)
      << Errors();
  EXPECT_EQ(Run("automark " + recording + " --matrix " + matrix + " --method threshold").status, 2);
}

TEST_F(AutomarkCommandTest, SmoothedSamplesAreMarkedTooAndAMissingMarkFileFails) {
  const CliRun r = Run("automark " + recording + " --matrix " + matrix);
  ASSERT_EQ(r.status, 0) << Errors();
  EXPECT_NE(r.out.find("17\t1\t"), std::string::npos);
  EXPECT_NE(r.out.find("30\t1\t"), std::string::npos);
  const CliRun missing = Run("amplitudes " + recording + " --matrix " + matrix + " --marks " + dir.File("none.M00"));
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(Errors().find("none.M00"), std::string::npos);
}

}  // namespace
}  // namespace velmora

namespace velmora {
namespace {

// The file beside the marks says what was done to the samples, whatever the switch says; its
// troubles never cost the marks, and one that cannot be read is said.
TEST_F(AutomarkCommandTest, TheSettingsFileSaysWhatWasDoneAndItsTroublesNeverCostTheMarks) {
  const std::string automark = "automark " + recording + " --matrix " + matrix + " --write";
  const std::string settings = dir.File("rec.M00.settings.txt");
  ASSERT_EQ(Run(automark).status, 0) << Errors();
  EXPECT_NE(testing::ReadFile(settings).find("smoothing: moving mean of 20 samples"), std::string::npos);
  ASSERT_EQ(Run(automark + " --raw").status, 0) << Errors();
  EXPECT_NE(testing::ReadFile(settings).find("smoothing: none on loading"), std::string::npos);

  std::filesystem::remove(settings);
  std::filesystem::create_directory(settings);
  std::filesystem::remove(dir.File("rec.M00"));
  EXPECT_EQ(Run(automark).status, 0);
  EXPECT_NE(Errors().find("The marks have been saved"), std::string::npos) << Errors();
  EXPECT_NE(testing::ReadFile(dir.File("rec.M00")).size(), 4096u);
  EXPECT_FALSE(std::filesystem::exists(dir.File("rec.M00.velmora-journal")));
  EXPECT_EQ(Run(automark).status, 0) << Errors();

  const std::string info = "info " + recording + " --matrix " + matrix;
  const struct {
    const char* name;
    std::function<void()> make;
  } unreadable[] = {
      {"a folder", [&] { std::filesystem::create_directory(settings); }},
      {"a named pipe", [&] { ::mkfifo(settings.c_str(), 0644); }},
      {"a link to /dev/zero", [&] { std::filesystem::create_symlink("/dev/zero", settings); }},
      {"a link loop", [&] { std::filesystem::create_symlink(settings, settings); }},
  };
  for (const auto& kind : unreadable) {
    std::filesystem::remove(settings);
    kind.make();
    EXPECT_EQ(Run(info).status, 1) << kind.name;
    EXPECT_NE(Errors().find(settings), std::string::npos) << kind.name << ": " << Errors();
  }
}

// Every writer of the mark file waits while the unsaved edits of an ended session lie beside
// it (they would be replayed later onto marks they were not made on), and while another
// session has the recording open.
TEST_F(AutomarkCommandTest, MarkWritersWaitForEditsOfAnEndedSessionAndForALiveOne) {
  const std::string automark = "automark " + recording + " --matrix " + matrix + " --raw --write";
  ASSERT_EQ(Run(automark).status, 0) << Errors();
  EXPECT_FALSE(FileExists(dir.File("rec.M00.velmora-journal")));
  const std::string saved = testing::ReadFile(dir.File("rec.M00"));
  const std::string marksText = dir.Write("marks.txt", "7\ngrid.txt\n1000\n1\n0\n\n\n40 700 1 0 0\n");
  const std::string writers[] = {automark, "import-marks " + recording + " --matrix " + matrix + " --from " +
                                               marksText + " --write"};
  SessionLock live;
  const struct {
    const char* name;
    std::function<void()> make, undo;
  } reasons[] = {
      {"edits of an ended session",
       [&] { dir.Write("rec.M00.velmora-journal", "velmora-journal 1\nS 3 40 1 700 0 0 1 0\nC 3\nE 5\n"); },
       [&] { std::filesystem::remove(dir.File("rec.M00.velmora-journal")); }},
      {"a live session", [&] { ASSERT_EQ(live.Take(dir.File("rec.M00")), SessionLock::Outcome::Taken); },
       [&] { live.Release(); }},
  };
  for (const auto& reason : reasons) {
    reason.make();
    const std::string journal = testing::ReadFile(dir.File("rec.M00.velmora-journal"));
    for (const std::string& writer : writers) {
      EXPECT_EQ(Run(writer).status, 1) << reason.name << ": " << writer;
      EXPECT_NE(Errors().find(dir.File("rec.M00")), std::string::npos) << Errors();
      EXPECT_EQ(testing::ReadFile(dir.File("rec.M00")), saved) << reason.name << ": " << writer;
      EXPECT_EQ(testing::ReadFile(dir.File("rec.M00.velmora-journal")), journal);
    }
    reason.undo();
  }
}

}  // namespace
}  // namespace velmora
