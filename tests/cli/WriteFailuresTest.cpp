#include <gtest/gtest.h>

#include <filesystem>
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

// A disk that fills part way, made without a mount: the shell's file-size limit makes every
// write past it fail as a full disk does (the signal it would send is ignored, so the write
// returns its error to the program).
std::string DiskFullAfter(int blocks) { return "ulimit -f " + std::to_string(blocks) + "; trap '' XFSZ; "; }

class WriteFailuresTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ::setenv("XDG_DATA_HOME", dir.File("xdg").c_str(), 1);
    matrix = dir.Write("grid.txt", testing::NewMatrixText(16, 15));
    testing::E00Builder rec;
    rec.sample = [](int record, int channel) -> int16_t { return channel == 30 && record > 300 && record < 310 ? -2000 : 0; };
    recording = dir.Write("rec.E00", rec.Bytes());
    marks = dir.Write("rec.M00", testing::MarkFileBytes({MarkRecord{20, kSlowWave, 100}, MarkRecord{21, kSlowWave, 300},
                                                         MarkRecord{22, kSlowWave, 200}}));
    fs::create_directory(dir.File("out"));
  }
  std::string Files() const { return " " + recording + " --matrix " + matrix + " --marks " + marks; }

  testing::TempDir dir;
  std::string matrix, recording, marks;
};

// A write that fails is an error, and leaves neither an empty file, a temporary nor a journal
// behind; the mark file stays as it was.
TEST_F(WriteFailuresTest, AWriteThatFailsIsAnErrorAndLeavesNothing) {
  const std::string markBytes = testing::ReadFile(marks);
  const struct {
    const char* name;
    int blocks;
    std::string arguments;
  } writers[] = {
      {"picture frames", 4, "animate" + Files() + " --end 300 --size 800x800 --out " + dir.File("out/frames/")},
      {"a film", 4, "animate" + Files() + " --end 300 --size 800x800 --out " + dir.File("out/film.mp4")},
      {"a picture", 4, "render" + Files() + " --out " + dir.File("out/pane.png")},
      {"the marks (the journal at its start)", 0, "automark " + recording + " --matrix " + matrix + " --write"},
  };
  for (const auto& writer : writers) {
#ifndef VELMORA_CLI_PICTURES
    if (writer.blocks > 0) continue;
#endif
    const testing::CliRun run =
        testing::RunCli(writer.arguments, dir.File("stderr.txt"), DiskFullAfter(writer.blocks));
    EXPECT_EQ(run.status, 1) << writer.name << "\n" << run.out << run.err;
    for (const auto& entry : fs::recursive_directory_iterator(dir.Path())) {
      if (!entry.is_regular_file() || entry.path().filename() == "stderr.txt") continue;  // the shell's own
      const std::string name = entry.path().string();
      EXPECT_GT(fs::file_size(entry.path()), 0u) << writer.name << ": " << name;
      EXPECT_EQ(name.find(".velmora-"), std::string::npos) << writer.name << ": " << name;
    }
    EXPECT_EQ(testing::ReadFile(marks), markBytes) << writer.name;
  }
}

}  // namespace
}  // namespace velmora
