#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "core/AnalysisState.h"
#include "core/Errors.h"
#include "maps/ConnectionEdits.h"
#include "maps/ConnectionFile.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"

namespace velmora {
namespace {

TEST(ConnectionFileName, ComesFromTheRecordingsExtensionOnly) {
  struct Case {
    std::string recording, markFile, expected;
  };
  const std::vector<Case> cases = {
      {"/d/REC.E00", "/d/REC.M00", "/d/REC.C00"},
      {"/d/rec.e00", "/d/rec.m00", "/d/rec.c00"},
      {"/data.v2/REC.E00", "/data.v2/REC.M00", "/data.v2/REC.C00"},
      {"/d/rec.txt", "/d/rec.Mxt", "/d/rec.cxt"},
      {"/d.x/rec", "/d.x/rec.M00", "/d.x/rec.C00"},
      {"/d/REC.C00", "/d/REC.M00", "/d/REC.C00.C00"},
      {"/d/rec.", "/d/rec.M00", "/d/rec..C00"},
      {"", "", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(ConnectionFile::FileNameFor(c.recording, c.markFile), c.expected) << c.recording;
}

class ConnectionFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    s->ElgFileName = dir.File("REC.E00");
    s->MarkFileName = dir.File("REC.M00");
    s->SigLength = 60000;
  }
  void Append(const std::vector<ConnectionRecord>& records) {
    for (const ConnectionRecord& r : records) ConnectionEdits::AppendConnection(*s, r);
  }
  bool Read(const std::string& path) {
    ui.openDialogAnswers.push_back(Ui::FileDialogResult{path, 1});
    return ConnectionFile::ReadConnections(*s, ui);
  }
  testing::TempDir dir;
  testing::ScriptedUi ui;
  std::unique_ptr<AnalysisState> s = std::make_unique<AnalysisState>();
};

TEST_F(ConnectionFileTest, SavingWritesTheLayoutAndKeepsOnlyTheLastOfEqualRecords) {
  Append({{20, 1000, 21, 1500, 1}, {22, 900, 21, 800, -1}, {20, 1000, 21, 1500, -1}});
  ConnectionEdits::AppendConnection(*s, {kNoValue, 5, 21, 6, 1});
  ConnectionFile::SaveConnections(*s);
  const std::string path = dir.File("REC.C00");
  EXPECT_EQ(s->ConnectionFileName, path);
  EXPECT_FALSE(s->ConnectionsChanged);
  EXPECT_EQ(s->Connection(1).FromChannel, -1);
  EXPECT_EQ(testing::ReadFile(path), path + "\r\n60000\r\n4\r\n"
                                            " 0.00000000000000E+0000\r\n 0.00000000000000E+0000\r\n0\r\n0\r\n0\r\n\r\n"
                                            "22\t900\t21\t800\t-1\r\n20\t1000\t21\t1500\t-1\r\n");
  for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
    EXPECT_EQ(entry.path().filename(), "REC.C00") << "a temporary file was left behind";
}

TEST_F(ConnectionFileTest, TwoEqualRecordsSaveAsOneAndReadBackAsOne) {
  Append({{20, 1000, 21, 1500, 1}, {20, 1000, 21, 1500, 1}});
  ConnectionFile::SaveConnections(*s);
  s->ConnectionCount = 0;
  ASSERT_TRUE(Read(dir.File("REC.C00")));
  EXPECT_EQ(s->ConnectionCount, 1);
  EXPECT_EQ(s->Connection(1), (ConnectionRecord{20, 1000, 21, 1500, 1}));
  EXPECT_EQ(ui.log, (std::vector<std::string>{s->ElgFileName, "60000", "2", "new nr connect: 1"}));
}

TEST_F(ConnectionFileTest, ACountBeyondTheRecordsAndDeletedLinesAreHarmless) {
  const std::string path = dir.Write(
      "x.C00", "/x.C00\n100\n9\n 0.0E+0000\n0\n0\n0\n0\n\n20\t1\t21\t2\t1\n-1\t1\t21\t2\t1\n21\t5\t20\t3\t-1\n");
  ASSERT_TRUE(Read(path));
  EXPECT_EQ(s->ConnectionCount, 2);
  EXPECT_EQ(s->Connection(2), (ConnectionRecord{21, 5, 20, 3, -1}));
  EXPECT_EQ(s->ConnectionFileName, "/x.C00");
}

TEST_F(ConnectionFileTest, AtMost2999RecordsAreTaken) {
  std::string text = "/x.C00\n100\n3001\n0\n0\n0\n0\n0\n\n";
  for (int n = 0; n < 3001; ++n) text += "20\t" + std::to_string(n) + "\t21\t1\t1\n";
  text += "not read\n";
  ASSERT_TRUE(Read(dir.Write("x.C00", text)));
  EXPECT_EQ(s->ConnectionCount, kMaxConnections);
}

TEST_F(ConnectionFileTest, ABadFileIsRefusedNamingFileLineAndProblemAndChangesNothing) {
  const std::string header = "/x.C00\n100\n2\n0\n0\n0\n0\n0\n\n";
  struct Case {
    std::string text, where, problem;
  };
  const std::vector<Case> cases = {
      {"", "line 1", "the file's own path"},
      {"/x.C00\nlong\n", "line 2", "the signal length"},
      {"/x.C00\n100\n-1\n", "line 3", "negative"},
      {"/x.C00\n100\n1\nzero\n", "line 4", "a number"},
      {"/x.C00\n100\n1\n0\n0\n0\n0 0\n", "line 7", "1 whole number"},
      {header + "20\t1\t21\t2\n", "line 10", "5 whole numbers"},
      {header + "20\t1\t21\t2\t1\n300\t1\t21\t2\t1\n", "line 11", "channels 1 to 256"},
      {header + "20\t1\t21\t2\t0\n", "line 10", "direction"},
      {header + "20\t1\t21\t99999999999\t1\n", "line 10", "out of range"},
  };
  Append({{30, 7, 31, 8, 1}});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const std::string path = dir.Write("bad.C00", c.text);
    ui.errors.clear();
    EXPECT_FALSE(Read(path));
    ASSERT_EQ(ui.errors.size(), 1u);
    EXPECT_NE(ui.errors[0].find(path + ": " + c.where + ":"), std::string::npos) << ui.errors[0];
    EXPECT_NE(ui.errors[0].find(c.problem), std::string::npos) << ui.errors[0];
    EXPECT_EQ(s->ConnectionCount, 1);
    EXPECT_EQ(s->Connection(1), (ConnectionRecord{30, 7, 31, 8, 1}));
  }
}

TEST_F(ConnectionFileTest, CancellingTheDialogReadsNothing) {
  ui.openDialogAnswers.push_back(std::nullopt);
  EXPECT_FALSE(ConnectionFile::ReadConnections(*s, ui));
  EXPECT_TRUE(ui.errors.empty());
}

TEST_F(ConnectionFileTest, AFailedWriteKeepsTheFlagAndTheOldFile) {
  s->ElgFileName = dir.File("missing/REC.E00");
  Append({{20, 1000, 21, 1500, 1}});
  EXPECT_THROW(ConnectionFile::SaveConnections(*s), IoError);
  EXPECT_TRUE(s->ConnectionsChanged);
}

}  // namespace
}  // namespace velmora
