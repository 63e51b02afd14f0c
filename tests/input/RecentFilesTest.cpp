#include <gtest/gtest.h>

#include <memory>

#include "core/AnalysisState.h"
#include "input/RecentFiles.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"

namespace velmora {
namespace {

TEST(RecentFiles, ReadsTenPairsAndLeavesAShortListEmptyBeyondItsEnd) {
  testing::TempDir dir;
  testing::ScriptedUi ui;
  auto s = std::make_unique<AnalysisState>();
  const std::string path = dir.Write("FileList.Txt", "1\n/a.E00\r\n5\n/b.txt\n1\n");
  EXPECT_TRUE(RecentFiles::Read(*s, path, ui));
  EXPECT_EQ(s->RecentFileKinds[0], "1");
  EXPECT_EQ(s->RecentFileNames[0], "/a.E00");
  EXPECT_EQ(s->RecentFileKinds[1], "5");
  EXPECT_EQ(s->RecentFileNames[1], "/b.txt");
  EXPECT_EQ(s->RecentFileKinds[2], "1");
  EXPECT_EQ(s->RecentFileNames[2], "");
  EXPECT_EQ(s->RecentFileNames[9], "");
  EXPECT_TRUE(ui.errors.empty());
}

TEST(RecentFiles, AMissingListIsReportedAndLeavesItEmpty) {
  testing::ScriptedUi ui;
  auto s = std::make_unique<AnalysisState>();
  s->RecentFileNames[0] = "stale";
  EXPECT_FALSE(RecentFiles::Read(*s, "/nonexistent/FileList.Txt", ui));
  EXPECT_EQ(ui.errors.size(), 1u);
  EXPECT_EQ(s->RecentFileNames[0], "");
}

TEST(RecentFiles, PushMovesEntriesDownAndDropsTheTenth) {
  testing::TempDir dir;
  auto s = std::make_unique<AnalysisState>();
  for (int i = 0; i < 11; ++i) RecentFiles::Push(*s, "1", "/r" + std::to_string(i) + ".E00");
  EXPECT_EQ(s->RecentFileNames[0], "/r10.E00");
  EXPECT_EQ(s->RecentFileNames[9], "/r1.E00");
  RecentFiles::Push(*s, "1", "/r10.E00");  // listed twice when opened twice
  EXPECT_EQ(s->RecentFileNames[0], "/r10.E00");
  EXPECT_EQ(s->RecentFileNames[1], "/r10.E00");
  const std::string path = dir.File("FileList.Txt");
  RecentFiles::Write(*s, path);
  const std::string text = testing::ReadFile(path);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 20);
  EXPECT_EQ(text.substr(0, 22), "1\n/r10.E00\n1\n/r10.E00\n");
}

}  // namespace
}  // namespace velmora
