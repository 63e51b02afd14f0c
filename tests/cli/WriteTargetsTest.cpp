#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "core/AtomicFile.h"
#include "support/CliRunner.h"
#include "support/E00Builder.h"
#include "support/MarkFileBytes.h"
#include "support/TempDir.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using testing::CliRun;

// Every writer of the tool against the targets it must not replace, and one it must write
// through. Each target is given the name the writer asks for (its extension), made a hard
// link, symbolic link, pipe, device or folder as the column says.
class WriteTargetsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ::setenv("XDG_DATA_HOME", dir.File("xdg").c_str(), 1);
    matrix = dir.Write("grid.txt", testing::NewMatrixText(16, 15));
    recording = dir.Write("rec.E00", testing::E00Builder{}.Bytes());
    marks = dir.Write("rec.M00", testing::MarkFileBytes({MarkRecord{20, kSlowWave, 100},
                                                         MarkRecord{21, kSlowWave, 300}}));
    other = dir.Write("other.txt", "to be replaced\n");
  }
  CliRun Run(const std::string& arguments) { return testing::RunCli(arguments, dir.File("stderr.txt")); }

  testing::TempDir dir;
  std::string matrix, recording, marks, other;
};

struct Writer {
  const char* name;
  const char* extension;
  bool needsPictures;
  std::string options;  // after the recording and its files; --out follows
};

struct Target {
  const char* name;
  bool refused;
  // Makes the target at `path`; false when this machine cannot (a device needs the superuser).
  std::function<bool(const std::string& path)> make;
  // Whether it is still what it was.
  std::function<bool(const std::string& path)> intact;
};

bool IsKind(const std::string& path, mode_t kind) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0 && (info.st_mode & S_IFMT) == kind;
}

TEST_F(WriteTargetsTest, NoWriterReplacesTheRecordingsFilesOrWhatIsNoFile) {
  const std::string recordingBytes = testing::ReadFile(recording);
  const std::string markBytes = testing::ReadFile(marks);
  const std::vector<Writer> writers = {
      {"export", "txt", false, "export single " + recording + " --matrix " + matrix + " --marks " + marks},
      {"connections", "C00", false, "connections " + recording + " --matrix " + matrix + " --marks " + marks},
      {"render text", "txt", false, "render " + recording + " --matrix " + matrix + " --marks " + marks},
      {"render picture", "png", true, "render " + recording + " --matrix " + matrix + " --marks " + marks},
      {"print", "pdf", true, "print " + recording + " --matrix " + matrix + " --marks " + marks},
      {"animate", "mp4", true,
       "animate " + recording + " --matrix " + matrix + " --marks " + marks + " --end 300 --size 64x64"},
  };
  const std::vector<Target> targets = {
      {"the recording (a hard link to it)", true,
       [&](const std::string& p) { return ::link(recording.c_str(), p.c_str()) == 0; },
       [&](const std::string& p) {
         struct stat link {}, original {};
         return ::stat(p.c_str(), &link) == 0 && ::stat(recording.c_str(), &original) == 0 &&
                link.st_ino == original.st_ino && testing::ReadFile(recording) == recordingBytes;
       }},
      {"its mark file (a link to it through ..)", true,
       [&](const std::string& p) { return ::symlink("../rec.M00", p.c_str()) == 0; },
       [&](const std::string& p) { return IsKind(p, S_IFLNK) && testing::ReadFile(marks) == markBytes; }},
      {"a named pipe", true, [](const std::string& p) { return ::mkfifo(p.c_str(), 0644) == 0; },
       [](const std::string& p) { return IsKind(p, S_IFIFO); }},
      {"a device", true, [](const std::string& p) { return ::mknod(p.c_str(), S_IFCHR | 0644, makedev(1, 3)) == 0; },
       [](const std::string& p) { return IsKind(p, S_IFCHR); }},
      {"a folder", true, [](const std::string& p) { return fs::create_directory(p); },
       [](const std::string& p) { return IsKind(p, S_IFDIR) && fs::is_empty(p); }},
      {"a link to a file", false, [&](const std::string& p) { return ::symlink(other.c_str(), p.c_str()) == 0; },
       [&](const std::string& p) { return IsKind(p, S_IFLNK) && testing::ReadFile(other) != "to be replaced\n"; }},
  };
  fs::create_directory(dir.File("out"));
  int n = 0;
  for (const Writer& writer : writers) {
#ifndef VELMORA_CLI_PICTURES
    if (writer.needsPictures) continue;
#endif
    for (const Target& target : targets) {
      const std::string path = dir.File("out/t" + std::to_string(++n) + "." + writer.extension);
      dir.Write("other.txt", "to be replaced\n");
      // A folder given to animate is where its frames go.
      if (writer.extension == std::string("mp4") && target.name == std::string("a folder")) continue;
      if (!target.make(path)) continue;  // no device without the superuser
      const CliRun run = Run(writer.options + " --out " + path);
      const std::string cell = std::string(writer.name) + " onto " + target.name;
      if (target.refused) {
        EXPECT_EQ(run.status, 1) << cell << "\n" << run.err;
        EXPECT_NE(run.err.find(path), std::string::npos) << cell << "\n" << run.err;
      } else {
        EXPECT_EQ(run.status, 0) << cell << "\n" << run.err;
      }
      EXPECT_TRUE(target.intact(path)) << cell;
    }
  }
  for (const auto& entry : fs::directory_iterator(dir.Path()))
    EXPECT_EQ(entry.path().filename().string().find(".velmora-tmp-"), std::string::npos) << entry.path();
}

}  // namespace
}  // namespace velmora
