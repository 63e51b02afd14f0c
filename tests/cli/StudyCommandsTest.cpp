#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "support/CliRunner.h"
#include "support/TempDir.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> fields;
  std::istringstream in(line);
  for (std::string field; std::getline(in, field, ',');) fields.push_back(field);
  if (!line.empty() && line.back() == ',') fields.push_back("");
  return fields;
}

// A generated recording of every pattern, marked by the automatic marking as a user would.
class StudyCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ::setenv("XDG_DATA_HOME", dir.File("xdg").c_str(), 1);
    ::setenv("XDG_RUNTIME_DIR", dir.Path().c_str(), 1);
    const testing::CliRun made = Cli("sample " + dir.File("rec") + " --seconds 150 --pattern mix --speed 10 --jitter 5");
    ASSERT_EQ(made.status, 0) << made.err;
    recording = dir.File("rec/sample.E00");
    matrix = dir.File("rec/sample-matrix.txt");
    ReadTruth(dir.File("rec/sample-truth.txt"));
  }
  void ReadTruth(const std::string& path) {
    truePatterns.clear();
    for (const std::string& line : Lines(testing::ReadFile(path))) {
      if (line.rfind("# wave ", 0) == 0) truePatterns.push_back(line.substr(line.rfind(' ') + 1));
      if (line.rfind("# dead channels:", 0) == 0) trueDead = int(std::count(line.begin(), line.end(), ' ')) - 2;
    }
  }
  // The study row's pattern columns as the truth file counts them.
  std::vector<std::string> TruePatternCounts() const {
    std::vector<std::string> counts;
    for (const char* name : {"normal", "retrograde", "ectopic", "collision", "block", "other"})
      counts.push_back(std::to_string(std::count(truePatterns.begin(), truePatterns.end(), name)));
    return counts;
  }
  testing::CliRun Cli(const std::string& arguments) { return testing::RunCli(arguments, dir.File("stderr.txt")); }

  testing::TempDir dir;
  std::string recording, matrix;
  std::vector<std::string> truePatterns;
  int trueDead = -1;
};

// The robust marking leaves the dead electrodes unmarked, so no wave is left out even at the
// smallest wave size of one site.
TEST_F(StudyCommandsTest, SummaryTablesEveryWaveWithItsTruePattern) {
  const testing::CliRun run = Cli("summary " + recording + " --matrix " + matrix + " --automark --method robust" +
                                  " --per-mark " + dir.File("marks.csv") + " --study-row " + dir.File("row.csv"));
  ASSERT_EQ(run.status, 0) << run.err;
  const std::vector<std::string> rows = Lines(run.out);
  ASSERT_EQ(rows.size(), truePatterns.size() + 1);
  EXPECT_EQ(rows[0],
            "wave,start_ms,sites,area_mm2,origin,duration_ms,speed_mm_s,speed_sd_mm_s,direction_deg,amplitude_uv,"
            "interval_s,frequency_cpm,pattern");
  for (size_t i = 1; i < rows.size(); ++i) {
    SCOPED_TRACE(rows[i]);
    const std::vector<std::string> f = Fields(rows[i]);
    ASSERT_EQ(f.size(), 13u);
    EXPECT_EQ(f[12], truePatterns[i - 1]);
    EXPECT_EQ(f[10].empty(), i == 1);  // no wave before the first
  }
  EXPECT_EQ(Lines(testing::ReadFile(dir.File("marks.csv")))[0],
            "wave,electrode,column,row,time_ms,speed_mm_s,direction_deg,amplitude_uv");
  const std::vector<std::string> study = Lines(testing::ReadFile(dir.File("row.csv")));
  ASSERT_EQ(study.size(), 2u);
  const std::vector<std::string> f = Fields(study[1]);
  ASSERT_EQ(f.size(), 17u);
  EXPECT_EQ(f[0], recording);
  EXPECT_EQ(f[2], "240");
  EXPECT_EQ(f[3], std::to_string(trueDead));
  EXPECT_EQ(f[4], std::to_string(truePatterns.size()));
  EXPECT_EQ(std::vector<std::string>(f.begin() + 10, f.begin() + 16), TruePatternCounts());
  EXPECT_EQ(f[16], "");
  EXPECT_EQ(Cli("summary " + recording + " --matrix " + matrix + " --marks x.M00 --method robust").status, 2);
  // The threshold crossing marks the dead electrodes' noise too: one-site waves that every
  // live electrode misses, which make no electrode look dead that records slow waves.
  ASSERT_EQ(Cli("summary " + recording + " --matrix " + matrix + " --automark --method described --out " +
                dir.File("described.csv") + " --study-row " + dir.File("row.csv"))
                .status,
            0);
  EXPECT_GT(Lines(testing::ReadFile(dir.File("described.csv"))).size(), truePatterns.size() + 1);
  EXPECT_EQ(Fields(Lines(testing::ReadFile(dir.File("row.csv")))[1])[3], std::to_string(trueDead));
}

// Recordings of one name from two folders, and a broken one, two at a time.
TEST_F(StudyCommandsTest, BatchWritesOnlyIntoItsFolderAndTellsTheFailedRecording) {
  fs::create_directories(dir.File("other"));
  fs::copy_file(recording, dir.File("other/sample.E00"));
  const std::string broken = dir.Write("broken.E00", "not a recording");
  const auto before = std::distance(fs::directory_iterator(dir.File("rec")), fs::directory_iterator());
  ::unsetenv("XDG_RUNTIME_DIR");  // as on a cluster node: Qt's notice of it is no message of a recording
  const testing::CliRun run = Cli("batch --jobs 2 --method robust --matrix " + matrix + " --out " + dir.File("out") +
                                  " " + recording + " " + dir.File("other/sample.E00") + " " + broken);
  EXPECT_EQ(run.status, 1) << run.err;
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.File("rec")), fs::directory_iterator()), before);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.File("other")), fs::directory_iterator()), 1);
  const std::string study = testing::ReadFile(dir.File("out/study.csv"));
  const std::vector<std::string> rows = Lines(study);
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(Fields(rows[1])[0], recording);  // in the order given, whichever ended first
  EXPECT_EQ(Fields(rows[2])[0], dir.File("other/sample.E00"));
  EXPECT_EQ(rows[1].substr(rows[1].find(',')), rows[2].substr(rows[2].find(',')));
  EXPECT_EQ(Fields(rows[1])[3], std::to_string(trueDead));
  EXPECT_EQ(Fields(rows[1])[4], std::to_string(truePatterns.size()));
  EXPECT_EQ(Fields(rows[1])[16], "");
  EXPECT_EQ(Fields(rows[3])[0], broken);
  EXPECT_NE(Fields(rows[3])[16], "");
  for (const std::string name : {"sample.csv", "sample-2.csv", "sample-marks.csv", "sample.M00"})
    EXPECT_TRUE(fs::exists(dir.File("out/" + std::string(name)))) << name;
#ifdef VELMORA_CLI_PICTURES
  EXPECT_EQ(testing::ReadFile(dir.File("out/sample.pdf")).substr(0, 5), "%PDF-");
#endif
  // A log only for the recording that had something to say: the broken one.
  EXPECT_FALSE(fs::exists(dir.File("out/sample.log")));
  EXPECT_TRUE(fs::exists(dir.File("out/broken.log")));
  // The rows of the folder merged again give the same table, rows by file name.
  fs::remove(dir.File("out/study.csv"));
  ASSERT_EQ(Cli("study " + dir.File("out")).status, 0);
  const std::vector<std::string> merged = Lines(testing::ReadFile(dir.File("out/study.csv")));
  ASSERT_EQ(merged.size(), 4u);
  EXPECT_EQ(merged[1], rows[3]);
  EXPECT_EQ(merged[2], rows[2]);  // sample-2.study.csv
}

// A BDF with offsets, hum and drift is marked by the threshold crossing only once the batch's
// --filter has run over it; a setting no recording can take stops the batch before any job.
TEST_F(StudyCommandsTest, BatchFiltersEveryRecordingAsTold) {
  const testing::CliRun made = Cli("sample " + dir.File("bdf") + " --seconds 90 --pattern mix --speed 10 --jitter 5" +
                                   " --format bdf --offset-mv 40 --mains-uv 300 --drift-uv 3000 --drift-hz 0.01");
  ASSERT_EQ(made.status, 0) << made.err;
  ReadTruth(dir.File("bdf/sample-truth.txt"));
  const std::string batch = "batch --jobs 1 --method described --min-sites 4 --matrix " + dir.File("bdf/sample-matrix.txt");
  const testing::CliRun run =
      Cli(batch + " --filter notch:50:3,baseline:30 --out " + dir.File("out") + " " + dir.File("bdf/sample.bdf"));
  ASSERT_EQ(run.status, 0) << run.err;
  const std::vector<std::string> rows = Lines(testing::ReadFile(dir.File("out/study.csv")));
  ASSERT_EQ(rows.size(), 2u);
  const std::vector<std::string> f = Fields(rows[1]);
  ASSERT_EQ(f.size(), 17u);
  EXPECT_EQ(f[3], std::to_string(trueDead));
  EXPECT_EQ(f[4], std::to_string(truePatterns.size()));
  EXPECT_EQ(std::vector<std::string>(f.begin() + 10, f.begin() + 16), TruePatternCounts());
  EXPECT_EQ(Cli(batch + " --set FilterLowPassHz=fast --out " + dir.File("refused") + " " + recording).status, 2);
  EXPECT_FALSE(fs::exists(dir.File("refused")));
}

}  // namespace
}  // namespace velmora
