#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <string>

#include "core/Arithmetic.h"
#include "core/AtomicFile.h"
#include "core/Limits.h"
#include "core/MarkRecord.h"
#include "support/CliRunner.h"
#include "support/E00Builder.h"
#include "support/MarkFileBytes.h"
#include "support/TempDir.h"

namespace velmora {
namespace {

using RunResult = testing::CliRun;

class CliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ::setenv("XDG_DATA_HOME", dir.File("xdg").c_str(), 1);
    matrix = dir.Write("grid.txt", testing::NewMatrixText(16, 15));
    recording = dir.Write("rec.E00", rec.Bytes());
  }
  RunResult Run(const std::string& arguments) { return testing::RunCli(arguments, dir.File("stderr.txt")); }
  std::string Errors() const { return testing::ReadFile(dir.File("stderr.txt")); }

  testing::TempDir dir;
  testing::E00Builder rec;
  std::string matrix, recording;
};

TEST_F(CliTest, InfoDescribesTheRecordingAndWritesNothing) {
  const RunResult r = Run("info " + recording + " --matrix " + matrix);
  ASSERT_EQ(r.status, 0) << Errors();
  const std::string described = "channels: 256\nbytes_per_sample: 2\nheader_frames: 8\nframes: 1000\nsig_length: 980\n"
                                "rows_filled: 980\ngrid: 16x15\nelectrode_distance: 1.5\nmark_file: " +
                                dir.File("rec.M00") + "\nmarks: 0\ndeleted_marks: 0\n";
  EXPECT_EQ(r.out.substr(0, described.size()), described);
  EXPECT_EQ(r.out.find("electrode_quality: "), described.size());
  EXPECT_NE(r.out.find("\ndead_electrodes: "), std::string::npos);
  EXPECT_FALSE(FileExists(dir.File("rec.M00")));
  EXPECT_FALSE(FileExists(dir.File("xdg/velmora/MyNewMatrix/FileList.Txt")));
}

TEST_F(CliTest, InfoAppendsHowTheMarksWereMadeAndRefusesABadSettingsFile) {
  const std::string plain = Run("info " + recording + " --matrix " + matrix).out;
  dir.Write("rec.M00", testing::MarkFileBytes({MarkRecord{17, kSlowWave, 100}}));
  dir.Write("rec.M00.settings.txt", "velmora mark settings 1\n[marking]\nrun: automatic SW marking\n"
                                    "[amplitudes]\nunits_per_mv: 747\n");
  RunResult r = Run("info " + recording + " --matrix " + matrix);
  ASSERT_EQ(r.status, 0) << Errors();
  const size_t marksLine = plain.find("marks: 0\n"), qualityLine = plain.find("electrode_quality: ");
  ASSERT_NE(marksLine, std::string::npos);
  ASSERT_NE(qualityLine, std::string::npos);
  EXPECT_EQ(r.out, plain.substr(0, marksLine) + "marks: 1\ndeleted_marks: 0\n" + plain.substr(qualityLine) +
                       "marking.run: automatic SW marking\namplitudes.units_per_mv: 747\n");
  dir.Write("rec.M00.settings.txt", "velmora mark settings 1\n[marking]\nrun\n");
  r = Run("info " + recording + " --matrix " + matrix);
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(Errors().find(dir.File("rec.M00.settings.txt") + ": line 3: expected \"key: value\""), std::string::npos)
      << Errors();
}

TEST_F(CliTest, InfoCountsDeletedSlotsApartFromTheMarks) {
  MarkRecord deleted{17, int16_t(kNoValue), kNoValue};
  MarkRecord deletedReference{18, int16_t(kNoValue), -1};  // as the reference table deletes
  dir.Write("rec.M00", testing::MarkFileBytes({MarkRecord{17, kSlowWave, 100}, deleted, MarkRecord{19, kSpike, 200},
                                               deletedReference, MarkRecord{20, kReferenceMark, 300}}));
  const RunResult r = Run("info " + recording + " --matrix " + matrix);
  ASSERT_EQ(r.status, 0) << Errors();
  EXPECT_NE(r.out.find("\nmarks: 3\ndeleted_marks: 2\n"), std::string::npos) << r.out;
}

TEST_F(CliTest, SamplesPrintsRowsOfTheChosenChannels) {
  const RunResult r = Run("samples " + recording + " --matrix " + matrix + " --raw --channels 17,256 --rows 3:5");
  ASSERT_EQ(r.status, 0) << Errors();
  const std::string expected = "3\t" + std::to_string(rec.sample(4, 17)) + "\t" + std::to_string(rec.sample(4, 256)) +
                               "\n4\t" + std::to_string(rec.sample(5, 17)) + "\t" +
                               std::to_string(rec.sample(5, 256)) + "\n";
  EXPECT_EQ(r.out, expected);
}

TEST_F(CliTest, SamplesDefaultsToAllChannelsSmoothed) {
  const RunResult r = Run("samples " + recording + " --matrix " + matrix + " --rows 0:1");
  ASSERT_EQ(r.status, 0) << Errors();
  EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\t'), 256);
  int64_t sum = 0;
  for (int k = 2; k <= 21; ++k) sum += rec.sample(k, 1);
  EXPECT_EQ(r.out.substr(0, r.out.find('\t', 2)), "0\t" + std::to_string(RoundHalfEven(sum / 20.0)));
}

TEST_F(CliTest, MarksListsRecordsInFileOrder) {
  std::string file(4096, '\0');
  const int16_t size = 4096;
  std::memcpy(file.data() + 2, &size, 2);
  const char record[16] = {17, 0, 1, 0, 0x10, 0x27, 0, 0, 0, 0, 0, 0, 2, 0, 0, 0};
  file.append(record, 16);
  const char deleted[16] = {18, 0, (char)0xC7, (char)0xCF, (char)0xC7, (char)0xCF, (char)0xFF, (char)0xFF,
                            0,  0, 0,          0,          1,          0,          0,          0};
  file.append(deleted, 16);
  const std::string path = dir.Write("rec.M00", file);
  const RunResult r = Run("marks " + path);
  ASSERT_EQ(r.status, 0) << Errors();
  EXPECT_EQ(r.out, "17\t1\t10000\t2\n18\t-12345\t-12345\t1\n");
}

TEST_F(CliTest, AHeaderOnlyMarkFileListsNothing) {
  std::string file(4096, '\0');
  const int16_t size = 4096;
  std::memcpy(file.data() + 2, &size, 2);
  const RunResult r = Run("marks " + dir.Write("h.M00", file));
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "");
}

// A command line the tool cannot take exits with 2 and shows how the verb is used; the
// arguments are checked before anything is read.
TEST_F(CliTest, UsageErrorsExitWith2AndShowTheVerbsUsage) {
  struct Case {
    std::string arguments, named, usage;
  };
  const std::string rec = recording + " --matrix " + matrix;
  const Case cases[] = {
      {"", "", "Usage:"},
      {"frobnicate " + rec, "frobnicate", "Usage:"},
      {"info " + recording, "--matrix", "info [OPTIONS]"},                  // a missing option
      {"info " + rec + " " + recording, recording, "info [OPTIONS]"},        // one argument too many
      {"info " + rec + " --seed 3", "--seed", "info [OPTIONS]"},             // an option of another verb
      {"samples " + rec + " --channels 300", "--channels", "samples [OPTIONS]"},  // out of range
      {"samples " + rec + " --rows 0:981", "--rows 0:981", "samples [OPTIONS]"},
      {"samples " + rec + " --rows ten", "--rows", "samples [OPTIONS]"},     // ill-formed
      {"sample " + dir.File("s") + " --grid 16by15", "--grid", "sample [OPTIONS]"},
      {"sample " + dir.File("s") + " --seconds 0", "0", "sample [OPTIONS]"},
      {"marks", "markfile", "marks [OPTIONS]"},
  };
  for (const Case& c : cases) {
    const RunResult r = Run(c.arguments);
    EXPECT_EQ(r.status, 2) << c.arguments;
    EXPECT_EQ(r.out, "") << c.arguments;
    const std::string err = Errors();
    EXPECT_NE(err.find(c.named), std::string::npos) << c.arguments << "\n" << err;
    EXPECT_NE(err.find(c.usage), std::string::npos) << c.arguments << "\n" << err;
  }
  EXPECT_FALSE(FileExists(dir.File("s/sample.E00")));
  const RunResult help = Run("info --help");
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("info [OPTIONS]"), std::string::npos) << help.out;
}

TEST_F(CliTest, ErrorsGoToStderrWithAFailingStatus) {
  const std::string broken = dir.Write("broken.E00", std::string(10, 'x'));
  RunResult r = Run("info " + broken + " --matrix " + matrix);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_NE(Errors().find("broken.E00"), std::string::npos);
  r = Run("info " + recording + " --matrix " + dir.File("nomatrix.txt"));
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(Errors().find("nomatrix.txt"), std::string::npos);
  const std::string list = dir.Write("FileList.Txt", "1\n" + recording + "\n");
  r = Run("info " + recording + " --matrix " + list);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_NE(Errors().find(list), std::string::npos);
  r = Run("marks " + dir.Write("bad.M00", "tiny"));
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(Errors().find("bad.M00"), std::string::npos);
}

}  // namespace
}  // namespace velmora
