#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "core/AtomicFile.h"
#include "support/CliRunner.h"
#include "support/E00Builder.h"
#include "support/MarkFileBytes.h"
#include "support/TempDir.h"

namespace velmora {
namespace {

using testing::CliRun;

MarkRecord Mark(int electrode, int time) { return MarkRecord{uint16_t(electrode), kSlowWave, time}; }

class ConnectionsCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ::setenv("XDG_DATA_HOME", dir.File("xdg").c_str(), 1);
    matrix = dir.Write("grid.txt", testing::NewMatrixText(16, 15));
    recording = dir.Write("rec.E00", rec.Bytes());
    marks = dir.Write("marks.M00", testing::MarkFileBytes({Mark(20, 100), Mark(21, 300), Mark(22, 50),
                                                           Mark(20, 700), Mark(21, 900)}));
  }
  CliRun Run(const std::string& arguments) { return testing::RunCli(arguments, dir.File("stderr.txt")); }
  std::string Common() const { return "connections " + recording + " --matrix " + matrix + " --marks " + marks; }

  testing::TempDir dir;
  testing::E00Builder rec;
  std::string matrix, recording, marks;
};

const std::string kZeros = " 0.00000000000000E+0000\r\n 0.00000000000000E+0000\r\n0\r\n0\r\n0\r\n\r\n";

TEST_F(ConnectionsCommandTest, PrintsTheFileOfTheConnectionsInTheWindow) {
  const CliRun r = Run(Common() + " --first-channel 20 --traces 3 --begin 0 --window 800");
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string length = std::to_string(980);
  EXPECT_EQ(r.out, dir.File("rec.C00") + "\r\n" + length + "\r\n3\r\n" + kZeros +
                       "20\t100\t21\t300\t1\r\n20\t700\t21\t300\t-1\r\n21\t300\t22\t50\t-1\r\n");
  EXPECT_FALSE(FileExists(dir.File("rec.C00")));
}

TEST_F(ConnectionsCommandTest, WritesTheFileWithOut) {
  const std::string out = dir.File("made.C00");
  const CliRun r = Run(Common() + " --first-channel 20 --traces 2 --out " + out);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(testing::ReadFile(out).rfind(out + "\r\n", 0), 0u);
}

TEST_F(ConnectionsCommandTest, BadOptionsAreUsageErrorsAndBadFilesFailures) {
  EXPECT_EQ(Run(Common() + " --traces 1").status, 2);
  EXPECT_EQ(Run(Common() + " --first-channel 0").status, 2);
  EXPECT_EQ(Run(Common() + " --window x").status, 2);
  const CliRun missing = Run("connections " + recording + " --matrix " + matrix + " --marks " + dir.File("no.M00"));
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("no.M00"), std::string::npos);
}

TEST_F(ConnectionsCommandTest, RenderDrawsTheArrowsOfAConnectionFile) {
  const std::string connections = dir.File("made.C00");
  ASSERT_EQ(Run(Common() + " --first-channel 20 --traces 2 --out " + connections).status, 0);
  const std::string base = "render " + recording + " --matrix " + matrix + " --marks " + marks +
                           " --order sequential --first-channel 20 --traces 2 --out " + dir.File("pane.txt");
  ASSERT_EQ(Run(base + " --connections " + connections).status, 0);
  EXPECT_NE(testing::ReadFile(dir.File("pane.txt")).find("pen ff00ff 1 copy"), std::string::npos);

  const std::string broken = dir.Write("broken.C00", "/x\n100\nmany\n");
  const CliRun r = Run(base + " --connections " + broken);
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find(broken + ": line 3:"), std::string::npos) << r.err;
}

}  // namespace
}  // namespace velmora
