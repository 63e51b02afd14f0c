#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "core/MarkRecord.h"
#include "support/CliRunner.h"
#include "support/E00Builder.h"
#include "support/MarkFileBytes.h"
#include "support/TempDir.h"

namespace velmora {
namespace {

using testing::CliRun;
using testing::HandMark;
using testing::MarkFileBytes;

// A 3 x 2 grid with slow waves on five of its six electrodes.
class PreferenceSettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ::setenv("XDG_DATA_HOME", dir.File("xdg").c_str(), 1);
    matrix = dir.Write("grid.txt", testing::NewMatrixText(3, 2));
    recording = dir.Write("rec.E00", testing::E00Builder{}.Bytes());
    marks = dir.Write("rec.M00", MarkFileBytes({HandMark(17, 100), HandMark(18, 115), HandMark(19, 130),
                                                HandMark(20, 100), HandMark(21, 115)}));
  }
  CliRun Run(const std::string& arguments) { return testing::RunCli(arguments, dir.File("stderr.txt")); }
  std::string Errors() const { return testing::ReadFile(dir.File("stderr.txt")); }
  std::string Files() const { return recording + " --matrix " + matrix; }

  testing::TempDir dir;
  std::string matrix, recording, marks;
};

TEST_F(PreferenceSettingsTest, SetValuesReachTheComputationAndTheLastOneWins) {
  const CliRun seconds =
      Run("map --set DigitType=4 --set DigitType=1 " + Files() + " --marks " + marks + " --kind time");
  ASSERT_EQ(seconds.status, 0) << Errors();
  EXPECT_NE(seconds.out.find("\n\n\t0.100\t0.115\t0.130\n\t0.100\t0.115\t"), std::string::npos) << seconds.out;
  const CliRun expanded =
      Run("map " + Files() + " --marks " + marks + " --kind time --expand --set NrNeighbours=2 --set NrExpandCycles=1");
  ASSERT_EQ(expanded.status, 0) << Errors();
  EXPECT_NE(expanded.out.find("\n\n\t100\t115\t130\n\t100\t115\t122"), std::string::npos) << expanded.out;
}

// A verb's own option for a preference takes what the preferences window takes for it.
TEST_F(PreferenceSettingsTest, AVerbsOptionAndItsPreferenceRefuseTheSameValues) {
  const std::string map = "map " + Files() + " --marks " + marks + " --kind time ";
  const std::vector<std::pair<std::string, std::string>> alike = {
      {"--digits 9", "--set DigitType=9"},           {"--neighbours 5", "--set NrNeighbours=5"},
      {"--velocity-step 100", "--set IncVel=100"},   {"--limit-intervals 0", "--set MaxIntervalValue=0"}};
  for (const auto& [option, setting] : alike) {
    EXPECT_EQ(Run(map + option).status, 2) << option;
    EXPECT_EQ(Run(map + setting).status, 2) << setting;
  }
  EXPECT_EQ(Run(map + "--digits 4").status, 0) << Errors();
  EXPECT_NE(Run(map + "--digits 9").status, 0);
  EXPECT_NE(Errors().find("--digits takes a whole number from 0 to 4 (not \"9\")"), std::string::npos) << Errors();
}

TEST_F(PreferenceSettingsTest, EveryVerbRefusesABadSettingNamingIt) {
  const std::string withMarks = Files() + " --marks " + marks;
  const std::vector<std::string> verbs = {"automark " + Files(), "amplitudes " + withMarks,
                                          "map " + withMarks + " --kind time", "waves " + withMarks,
                                          "render " + Files() + " --out " + dir.File("x.txt")};
  const std::vector<std::pair<std::string, std::string>> refused = {
      {"IncVel=0", "--set IncVel must be a whole number from 1 to 99 (not \"0\")"},
      {"Foo=1", "--set: \"Foo\" is not a preference"},
      {"DigitType", "--set takes NAME=VALUE (not \"DigitType\")"},
      {"LimitCondVel=yes", "--set LimitCondVel must be 0 or 1 (not \"yes\")"}};
  for (const std::string& verb : verbs) {
    for (const auto& [setting, message] : refused) {
      const CliRun r = Run(verb + " --set " + setting);
      EXPECT_EQ(r.status, 2) << verb << " --set " << setting;
      EXPECT_NE(Errors().find("error: " + message + "\n"), std::string::npos) << Errors();
      EXPECT_EQ(r.out, "");
    }
  }
}

}  // namespace
}  // namespace velmora
