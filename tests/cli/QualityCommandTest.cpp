#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "input/SampleRecording.h"
#include "support/CliRunner.h"
#include "support/TempDir.h"

namespace velmora {
namespace {

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::istringstream in(text);
  for (std::string part; std::getline(in, part, separator);) parts.push_back(part);
  return parts;
}

// `quality`, `info` and the quality map of a generated half minute agree with its truth on
// which electrodes are dead.
TEST(QualityCommandTest, QualityInfoAndTheMapNameTheDeadElectrodes) {
  testing::TempDir dir;
  const auto run = [&](const std::string& arguments) { return testing::RunCli(arguments, dir.File("stderr.txt")); };
  ASSERT_EQ(run("sample " + dir.File("s") + " --seconds 30 --drift-uv 1000").status, 0);
  const std::string files = dir.File("s/sample.E00") + " --matrix " + dir.File("s/sample-matrix.txt");
  SampleSettings settings;
  settings.seconds = 30;
  const std::vector<int> dead = SampleRecording::DeadChannels(settings);

  const testing::CliRun quality = run("quality " + files);
  ASSERT_EQ(quality.status, 0) << quality.err;
  const std::vector<std::string> lines = Split(quality.out, '\n');
  ASSERT_EQ(lines.size(), 240u);
  std::vector<int> judgedDead;
  for (const std::string& line : lines) {
    const std::vector<std::string> fields = Split(line, '\t');
    ASSERT_EQ(fields.size(), 3u) << line;
    if (fields[2] == "dead") judgedDead.push_back(std::stoi(fields[0]));
  }
  EXPECT_EQ(judgedDead, dead);

  const testing::CliRun info = run("info " + files);
  ASSERT_EQ(info.status, 0) << info.err;
  const std::string deadLine = "dead_electrodes: " + std::to_string(dead[0]) + " " + std::to_string(dead[1]) + " " +
                               std::to_string(dead[2]) + "\n";
  EXPECT_NE(info.out.find(deadLine), std::string::npos) << info.out;

  ASSERT_EQ(run("automark " + files + " --write").status, 0);
  const testing::CliRun map = run("map " + files + " --marks " + dir.File("s/sample.M00") + " --kind quality");
  ASSERT_EQ(map.status, 0) << map.err;
  const std::vector<std::string> rows = Split(map.out, '\n');
  for (const int channel : dead) {
    const int col = (channel - 17) % 16 + 1, row = (channel - 17) / 16 + 1;
    EXPECT_EQ(Split(rows.at(size_t(row + 1)), '\t').at(size_t(col)), "0.00") << channel;
  }
}

}  // namespace
}  // namespace velmora
