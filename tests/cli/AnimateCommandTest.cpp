#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <sstream>
#include <string>

#include "core/AtomicFile.h"
#include "support/CliRunner.h"
#include "support/TempDir.h"

namespace velmora {
namespace {

std::string Capture(const std::string& command) {
  std::string text;
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  if (!pipe) return text;
  char buffer[256];
  while (fgets(buffer, sizeof buffer, pipe.get()) != nullptr) text += buffer;
  return text;
}

// KEY=VALUE lines of ffprobe's plain output.
std::map<std::string, std::string> Probe(const std::string& film) {
  const std::string text = Capture(
      "ffprobe -v error -count_frames -select_streams v:0 -show_entries "
      "stream=codec_name,nb_read_frames,width,height:format=duration -of default=nw=1 '" + film + "'");
  std::map<std::string, std::string> values;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    const size_t equals = line.find('=');
    if (equals != std::string::npos) values[line.substr(0, equals)] = line.substr(equals + 1);
  }
  return values;
}

uint32_t BigEndian32(const std::string& bytes, size_t at) {
  uint32_t value = 0;
  for (size_t i = 0; i < 4; ++i) value = value << 8 | uint8_t(bytes[at + i]);
  return value;
}

// A short generated recording, marked automatically, shared by the cases.
class AnimateCommandTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new testing::TempDir;
    const testing::CliRun sample =
        testing::RunCli("sample " + dir_->File("s") + " --seconds 10 --grid 8x6", dir_->File("err.txt"));
    ASSERT_EQ(sample.status, 0) << sample.err;
    const testing::CliRun marks = testing::RunCli(
        "automark " + Recording() + " --matrix " + dir_->File("s/sample-matrix.txt") + " --write",
        dir_->File("err.txt"));
    ASSERT_EQ(marks.status, 0) << marks.err;
  }
  static void TearDownTestSuite() { delete dir_; }
  static std::string Recording() { return dir_->File("s/sample.E00"); }

  testing::CliRun Animate(const std::string& options) {
    return testing::RunCli("animate " + Recording() + " --matrix " + dir_->File("s/sample-matrix.txt") +
                               " --marks " + dir_->File("s/sample.M00") + " " + options,
                           dir_->File("err.txt"));
  }

  static testing::TempDir* dir_;
  testing::TempDir out_;
};

testing::TempDir* AnimateCommandTest::dir_ = nullptr;

TEST_F(AnimateCommandTest, AFilmHasOneFramePerStepAtTheAskedRate) {
  SKIP_WITHOUT_PICTURES();
  if (std::system("command -v ffprobe > /dev/null 2>&1") != 0) GTEST_SKIP() << "ffprobe is not installed";
  const std::string film = out_.File("film.mp4");
  const testing::CliRun run = Animate("--begin 1000 --end 5000 --step 200 --fps 8 --size 320x240 --out " + film);
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("21 frames"), std::string::npos) << run.out;
  const auto probed = Probe(film);
  EXPECT_EQ(probed.at("codec_name"), "h264");
  EXPECT_EQ(probed.at("width"), "320");
  EXPECT_EQ(probed.at("height"), "240");
  EXPECT_EQ(probed.at("nb_read_frames"), "21");  // 1000, 1200, ..., 5000
  EXPECT_NEAR(std::stod(probed.at("duration")), 21.0 / 8, 1e-3);
  for (const auto& entry : std::filesystem::directory_iterator(out_.Path()))
    EXPECT_EQ(entry.path().filename(), "film.mp4");  // no temporary file left beside it
}

TEST_F(AnimateCommandTest, AFolderGetsNumberedPngFramesOfTheAskedSize) {
  SKIP_WITHOUT_PICTURES();
  const std::string folder = out_.File("frames") + "/";
  const testing::CliRun run = Animate("--begin 0 --end 900 --step 300 --size 200x150 --out " + folder);
  ASSERT_EQ(run.status, 0) << run.err;
  for (const char* name : {"frame00001.png", "frame00002.png", "frame00003.png", "frame00004.png"}) {
    const std::string png = testing::ReadFile(folder + name);
    ASSERT_GT(png.size(), 24u) << name;
    EXPECT_EQ(BigEndian32(png, 16), 200u);
    EXPECT_EQ(BigEndian32(png, 20), 150u);
  }
  EXPECT_FALSE(FileExists(folder + "frame00005.png"));
}

TEST_F(AnimateCommandTest, AnEndPastTheRecordingIsCutToItsEndAndSaidSo) {
  SKIP_WITHOUT_PICTURES();
  const std::string folder = out_.File("frames") + "/";
  // The 10 s recording ends at 9999 ms: frames at 9000, 9400 and 9800 only.
  const testing::CliRun run = Animate("--begin 9000 --end 99999999 --step 400 --size 20x20 --out " + folder);
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out.rfind("3 frames, 9000 to 9800 ms", 0), 0u) << run.out;
  EXPECT_NE(run.err.find("note: The end time (99999999 ms) lies past the end of the recording"), std::string::npos)
      << run.err;
  EXPECT_TRUE(FileExists(folder + "frame00003.png"));
  EXPECT_FALSE(FileExists(folder + "frame00004.png"));
}

TEST_F(AnimateCommandTest, AnOddFilmSizeLosesAPixelAndSaysSo) {
  SKIP_WITHOUT_PICTURES();
  const std::string film = out_.File("film.mp4");
  const testing::CliRun run = Animate("--begin 0 --end 0 --size 321x241 --out " + film);
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.err.find("note: The film's frames are 320 x 240 pixels, not 321 x 241"), std::string::npos) << run.err;
  if (std::system("command -v ffprobe > /dev/null 2>&1") != 0) return;
  const auto probed = Probe(film);
  EXPECT_EQ(probed.at("width"), "320");
  EXPECT_EQ(probed.at("height"), "240");
}

TEST_F(AnimateCommandTest, RefusesBadOptionsWithUsageAndWritesNothing) {
  const std::string film = out_.File("film.mp4");
  for (const std::string& options : {"--step 0 --out " + film, "--begin 500 --end 400 --out " + film,
                                     "--begin 10000 --end 80000 --out " + film, "--fps 0 --out " + film,
                                     "--out " + out_.File("film.avi")}) {
    const testing::CliRun run = Animate(options);
    EXPECT_EQ(run.status, 2) << options;
    EXPECT_NE(run.err.find("error:"), std::string::npos) << options;
  }
  EXPECT_TRUE(std::filesystem::is_empty(out_.Path()));
}

}  // namespace
}  // namespace velmora
