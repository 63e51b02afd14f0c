#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "core/AtomicFile.h"
#include "core/DataRoot.h"
#include "core/Errors.h"
#include "support/TempDir.h"

namespace velmora {
namespace {

using testing::ReadFile;
using testing::TempDir;

TEST(AtomicFile, ReplacesTheFileAndLeavesNoTemporaryBehind) {
  TempDir dir;
  const std::string path = dir.Write("a.M00", "old contents");
  WriteFileAtomically(path, "new");
  EXPECT_EQ(ReadFile(path), "new");
  int files = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.Path())) ++files;
  EXPECT_EQ(files, 1);
}

TEST(AtomicFile, AFailedWriteKeepsTheOldFile) {
  TempDir dir;
  const std::string folder = dir.File("sub");
  std::filesystem::create_directory(folder);
  const std::string path = folder + "/a.M00";
  { std::ofstream(path) << "precious"; }
  std::filesystem::permissions(folder, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  if (::geteuid() == 0) {
    // root may write anyway; a missing folder fails for everybody
    EXPECT_THROW(WriteFileAtomically(dir.File("missing/a.M00"), "x"), IoError);
  } else {
    EXPECT_THROW(WriteFileAtomically(path, "damaged"), IoError);
  }
  std::filesystem::permissions(folder, std::filesystem::perms::owner_all);
  EXPECT_EQ(ReadFile(path), "precious");
}

TEST(DataRoot, FirstStartLaysOutFoldersListAndSampleMatrices) {
  TempDir dir;
  DataRoot root(dir.File("velmora"));
  root.EnsureExists();
  EXPECT_EQ(ReadFile(root.RecentFilesPath()), std::string(20, '\n'));
  EXPECT_TRUE(FileExists(root.NewMatrixFolder() + "/Sample16x15.txt"));
  EXPECT_TRUE(FileExists(root.MatrixFolder() + "/Sample16x15-old.txt"));
  EXPECT_NE(root.NewMatrixListPath(), root.RecentFilesPath());
}

TEST(DataRoot, ExistingFilesAreNeverOverwritten) {
  TempDir dir;
  DataRoot root(dir.File("velmora"));
  root.EnsureExists();
  WriteFileAtomically(root.RecentFilesPath(), "1\n/data/rec.E00\n");
  root.EnsureExists();
  EXPECT_EQ(ReadFile(root.RecentFilesPath()), "1\n/data/rec.E00\n");
}

TEST(DataRoot, FollowsXdgDataHome) {
  ::setenv("XDG_DATA_HOME", "/tmp/velmora-xdg", 1);
  EXPECT_EQ(DataRoot::FromEnvironment().Root(), "/tmp/velmora-xdg/velmora");
  ::unsetenv("XDG_DATA_HOME");
  const char* home = std::getenv("HOME");
  const std::string savedHome = home != nullptr ? home : "";
  ::setenv("HOME", "/home/someone", 1);
  EXPECT_EQ(DataRoot::FromEnvironment().Root(), "/home/someone/.local/share/velmora");
  ::setenv("HOME", savedHome.c_str(), 1);
}

}  // namespace
}  // namespace velmora
