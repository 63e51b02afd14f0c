#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>

#include "core/AtomicFile.h"
#include "support/CliRunner.h"
#include "support/E00Builder.h"
#include "support/MarkFileBytes.h"
#include "support/TempDir.h"

namespace velmora {
namespace {

using testing::CliRun;
using testing::HandMark;

class ExportCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ::setenv("XDG_DATA_HOME", dir.File("xdg").c_str(), 1);
    matrix = dir.Write("grid.txt", testing::NewMatrixText(16, 15));
    recording = dir.Write("rec.E00", rec.Bytes());
    marks = dir.Write("marks.M00", testing::MarkFileBytes({HandMark(20, 4000), HandMark(20, 1000), HandMark(21, 300),
                                                           HandMark(20, 2500, kSpike), HandMark(22, 0)}));
  }
  CliRun Run(const std::string& arguments) { return testing::RunCli(arguments, dir.File("stderr.txt")); }
  std::string Export(const std::string& what) const {
    return "export " + what + " " + recording + " --matrix " + matrix + " --marks " + marks;
  }

  testing::TempDir dir;
  testing::E00Builder rec;
  std::string matrix, recording, marks;
};

TEST_F(ExportCommandTest, WritesTheBytesOfTheMenuExports) {
  const CliRun marksText = Run(Export("marks-txt"));
  ASSERT_EQ(marksText.status, 0) << marksText.err;
  EXPECT_EQ(marksText.out, recording + "\n980\n\n20\t4000\t1000\t2500\n21\t300\n22");

  const CliRun allMarks = Run(Export("allmarks") + " --electrode 20");
  ASSERT_EQ(allMarks.status, 0) << allMarks.err;
  EXPECT_EQ(allMarks.out, recording +
                              "\nEle: 20\n\n1000\n2500\t1500\t40.00\n4000\t1500\t40.00\n\nAvg:\tStDev\n40.00\t0.00\n");

  const CliRun single = Run(Export("single") + " --first-channel 22");
  ASSERT_EQ(single.status, 0) << single.err;
  EXPECT_EQ(single.out, recording + "\nEle nr: 22\n0\t\n");

  const CliRun animation = Run(Export("animation") + " --begin 300 --window 700");
  ASSERT_EQ(animation.status, 0) << animation.err;
  EXPECT_EQ(animation.out, recording + "\n" + matrix + "\n700\n20\t1\t1000\n21\t1\t300\n");
}

// The "to Mac" files start with their object count; the map's first object is the grid's
// frame, its larger side scaled to 490 with a margin of 10.
TEST_F(ExportCommandTest, MacAndRealBasicExportsAreOffered) {
  const CliRun map = Run(Export("mac-map") + " --kind time");
  ASSERT_EQ(map.status, 0) << map.err;
  EXPECT_EQ(map.out.substr(0, map.out.find("500 10 500 470")), "2\n6 4\n10 10 500 10\n");
  for (const std::string what : {"mac-electrograms", "mac-elemap"}) {
    const CliRun run = Run(Export(what) + " --window 500");
    ASSERT_EQ(run.status, 0) << what << run.err;
    EXPECT_GT(std::stoi(run.out), 0) << what;
  }
  const CliRun realBasic = Run(Export("realbasic"));
  ASSERT_EQ(realBasic.status, 0) << realBasic.err;
  EXPECT_EQ(realBasic.out.rfind("1 ", 0), 0u) << realBasic.out;
}

TEST_F(ExportCommandTest, MatrixIsTheMapVerbsMatrix) {
  const std::string options = " --matrix " + matrix + " --marks " + marks + " --kind time --digits 2";
  const CliRun map = Run("map " + recording + options);
  const CliRun matrixExport = Run("export matrix " + recording + options);
  ASSERT_EQ(matrixExport.status, 0) << matrixExport.err;
  EXPECT_EQ(matrixExport.out, map.out);
  // Only electrode 21's mark lies in the window of the whole 980 ms signal.
  EXPECT_EQ(matrixExport.out.substr(0, recording.size() + 12), recording + "\n\n\t\t\t\t\t0.30\t");
}

TEST_F(ExportCommandTest, ElectrogramsHoldTheSamplesOfTwelveTracesAndZeroPastChannel256) {
  const CliRun r = Run(Export("electrograms-txt") + " --first-channel 250 --begin 10 --window 3");
  ASSERT_EQ(r.status, 0) << r.err;
  const CliRun samples =
      Run("samples " + recording + " --matrix " + matrix + " --channels 250,251,252,253,254,255,256 --rows 10:13");
  ASSERT_EQ(samples.status, 0) << samples.err;
  std::istringstream lines(samples.out);
  std::string expected, line;
  while (std::getline(lines, line)) {
    expected += line.substr(line.find('\t') + 1) + "\t0\t0\t0\t0\t0\t\n";
  }
  EXPECT_EQ(r.out, expected);
}

TEST_F(ExportCommandTest, OutWritesTheFileAndStdoutStaysEmpty) {
  const std::string out = dir.File("tolvar.txt");
  const CliRun r = Run(Export("tolvar") + " --out " + out);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "");
  const std::string text = testing::ReadFile(out);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 40010);
  const CliRun overRecording = Run(Export("marks-txt") + " --out " + recording);
  EXPECT_EQ(overRecording.status, 1);
  EXPECT_EQ(testing::ReadFile(recording), rec.Bytes());
}

TEST_F(ExportCommandTest, UsageErrorsExit2AndOtherErrors1) {
  const CliRun unknown = Run(Export("mac-pictures"));
  EXPECT_EQ(unknown.status, 2);
  EXPECT_NE(unknown.err.find("unknown export \"mac-pictures\""), std::string::npos) << unknown.err;
  EXPECT_EQ(Run(Export("allmarks")).status, 2);
  EXPECT_EQ(Run(Export("allmarks") + " --electrode 16").status, 2);
  EXPECT_EQ(Run(Export("allmarks") + " --electrode 256").status, 2);
  EXPECT_EQ(Run(Export("electrograms-txt") + " --traces 0").status, 2);
  const CliRun oneMark = Run(Export("allmarks") + " --electrode 21");
  EXPECT_EQ(oneMark.status, 1);
  EXPECT_NE(oneMark.err.find("Electrode 21 has 1 mark"), std::string::npos) << oneMark.err;
  const CliRun missing = Run("export marks-txt " + recording + " --matrix " + matrix + " --marks " + dir.File("no.M00"));
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("no.M00"), std::string::npos);
}

TEST_F(ExportCommandTest, ImportMarksPrintsTheMarksAndWritesThemOnlyWhenAsked) {
  // The file names another grid and rate: the marks are added, the recording keeps its own.
  const std::string from = dir.Write("in.txt", "10\nC:\\MyMatrix\\other.txt\n2000\n2\n0\n\n\n\n\n\n30 100.5 1 0 0\n31 200 2 0 0\n");
  const std::string base = "import-marks " + recording + " --matrix " + matrix + " --from " + from;
  const CliRun r = Run(base);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "30\t1\t100\t1\n31\t2\t200\t1\n");
  EXPECT_NE(r.err.find("note: in.txt names the matrix other.txt and a rate of 2000 Hz; its marks were added to the "
                       "recording, which keeps its matrix grid.txt and its rate of 1000 Hz."),
            std::string::npos)
      << r.err;
  EXPECT_FALSE(FileExists(dir.File("rec.M00")));
  ASSERT_EQ(Run(base + " --write").status, 0);
  EXPECT_EQ(Run("marks " + dir.File("rec.M00")).out, "30\t1\t100\t1\n31\t2\t200\t1\n");
  EXPECT_EQ(testing::ReadFile(dir.File("rec.M00")).substr(106, 9), "\x08grid.txt") << "the mark file's matrix";

  const std::string bad = dir.Write("bad.txt", "7\ngrid.txt\n1000\n2\n0\n\n\n30 100 1 0 0\n31 x 2 0 0\n");
  const CliRun refused = Run("import-marks " + recording + " --matrix " + matrix + " --from " + bad + " --write");
  EXPECT_EQ(refused.status, 1);
  EXPECT_NE(refused.err.find(bad + ": line 9:"), std::string::npos) << refused.err;
  EXPECT_EQ(Run("marks " + dir.File("rec.M00")).out, "30\t1\t100\t1\n31\t2\t200\t1\n");
  EXPECT_EQ(Run("import-marks " + recording + " --matrix " + matrix).status, 2);
}

}  // namespace
}  // namespace velmora
