#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "core/AtomicFile.h"
#include "core/DataRoot.h"
#include "core/Errors.h"
#include "core/ReadableFile.h"
#include "core/TemporaryFiles.h"
#include "core/TextReader.h"
#include "input/E00Header.h"
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

// A named pipe would block the open until a writer came and a device never ends: every reader
// refuses both, and a folder, at once, saying why; a missing file says that it is missing.
TEST(ReadableFile, EveryReaderRefusesWhatIsNotAFileAndSaysWhy) {
  TempDir dir;
  const std::string fifo = dir.File("rec.E00");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const std::vector<std::pair<std::string, std::string>> cases = {
      {fifo, "named pipe"}, {"/dev/zero", "device"}, {dir.Path(), "folder"}, {dir.File("gone.E00"), "No such file"}};
  const std::vector<std::pair<std::string, std::function<void(const std::string&)>>> readers = {
      {"whole file", [](const std::string& p) { ReadWholeFile(p); }},
      {"whole file unbuffered", [](const std::string& p) { ReadableFile(p).ReadAllBytes(); }},
      {"text", [](const std::string& p) { TextReader::FromFile(p); }},
      {"recording header", [](const std::string& p) { E00Header::Read(p); }},
  };
  for (const auto& [path, reason] : cases) {
    for (const auto& [name, read] : readers) {
      SCOPED_TRACE(name + " of " + path);
      try {
        read(path);
        ADD_FAILURE() << "read";
      } catch (const IoError& error) {
        EXPECT_NE(std::string(error.what()).find(reason), std::string::npos) << error.what();
      }
    }
  }
}

// Files whose size says nothing of their length (those of /proc say 0) are read to their end;
// large ones are read in two halves at once.
TEST(ReadableFile, ReadsOnPastTheSizeAFileGaveWhenOpened) {
  TempDir dir;
  std::string large(size_t(5) << 20, ' ');
  for (size_t i = 0; i < large.size(); ++i) large[i] = char('a' + i % 23);
  for (const std::string& path : {std::string("/proc/self/cmdline"), dir.Write("r.txt", std::string(70000, 'x')),
                                  dir.Write("large.txt", large)}) {
    const std::string whole = ReadWholeFile(path);
    EXPECT_FALSE(whole.empty());
    EXPECT_EQ(ReadableFile(path).ReadAllBytes().View(), whole) << path;
  }
}

TEST(AtomicFile, ALinkIsWrittenThroughAndStaysALink) {
  TempDir dir;
  const std::string target = dir.Write("real.M00", "old");
  const std::string link = dir.File("link.M00");
  std::filesystem::create_symlink(target, link);
  WriteFileAtomically(link, "new");
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(ReadFile(target), "new");
}

TEST(AtomicFile, KeepsThePermissionsOfTheFileItReplaces) {
  TempDir dir;
  const std::string path = dir.Write("a.M00", "old");
  std::filesystem::permissions(path, std::filesystem::perms(0640));
  WriteFileAtomically(path, "new");
  struct stat info {};
  ASSERT_EQ(::stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
}

// Only the temporaries of that file go: another file's, a name that merely looks alike, and
// one a live writer holds (in this program or another) stay.
TEST(AtomicFile, StaleTemporariesOfAKilledSaveAreRemoved) {
  TempDir dir;
  const std::string path = dir.Write("rec.M00", "marks");
  const std::string stale = dir.Write("rec.M00" + std::string(kTemporaryMark) + "a1B2c3", "half");
  const std::vector<std::string> kept = {dir.Write("rec.M00.backup", "mine"),
                                         dir.Write("other.M00" + std::string(kTemporaryMark) + "a1B2c3", "x"),
                                         dir.Write("rec.M00" + std::string(kTemporaryMark) + "a1B2c3d", "x"),
                                         dir.Write("rec.M00" + std::string(kTemporaryMark) + "livewr", "being written")};
  const int writer = ::open(kept.back().c_str(), O_RDONLY);
  ASSERT_EQ(::flock(writer, LOCK_EX), 0);
  RemoveStaleTemporaries(path);
  ::close(writer);
  EXPECT_FALSE(std::filesystem::exists(stale));
  for (const std::string& file : kept) EXPECT_TRUE(std::filesystem::exists(file)) << file;
  EXPECT_EQ(ReadFile(path), "marks");
}

// Ctrl+C, kill and a closed terminal take the temporaries being written with the program.
TEST(TemporaryFiles, AnInterruptedWriterLeavesNoTemporary) {
  TempDir dir;
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
    const std::string temporary = dir.File("film.mp4" + std::string(kTemporaryMark) + "a1B2c3");
    EXPECT_EXIT(
        {
          TemporaryFiles::RemoveOnSignals();
          std::ofstream(temporary) << "half a film";
          TemporaryFiles::Entry writing(temporary);
          std::raise(signal);
        },
        ::testing::KilledBySignal(signal), "");
    EXPECT_FALSE(std::filesystem::exists(temporary)) << signal;
  }
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
