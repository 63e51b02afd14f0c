#include "marks/MarkSettingsFile.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/AnalysisState.h"
#include "core/AtomicFile.h"
#include "core/Errors.h"
#include "marks/AmplitudeCalculation.h"
#include "marks/MarkFile.h"
#include "support/MarkFileBytes.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"

namespace velmora {
namespace {

class MarkSettingsFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetDefaults(*s);
    s->MarkFileName = dir.File("REC.M00");
    s->ElgFileName = dir.File("REC.E00");
    s->MatrixFileName = dir.File("grid.txt");
    s->InputFileKind = 1;
    s->SmoothedOnLoad = true;
  }
  std::string SettingsPath() const { return MarkSettingsFile::PathFor(s->MarkFileName); }

  testing::TempDir dir;
  testing::ScriptedUi ui;
  std::unique_ptr<AnalysisState> s = std::make_unique<AnalysisState>();
};

// A researcher changes a setting after marking and saves later: the file says how the marks
// were made, not what the preferences hold at the save.
TEST_F(MarkSettingsFileTest, SavingWritesTheSettingsOfTheLastRunsBesideTheMarks) {
  s->MinDiffValSW = -150;
  s->SamplingF = 1000;
  MarkSettingsFile::CaptureMarking(*s, "automatic SW marking");
  CalcAmplitudes(*s);
  s->MinDiffValSW = -90;
  s->SamplingF = 2000;
  WriteMarkFile(*s, ui);
  const MarkSettings written = MarkSettingsFile::Parse(SettingsPath(), testing::ReadFile(SettingsPath()));
  const std::vector<std::string> lines = MarkSettingsFile::Lines(written);
  const auto has = [&lines](const std::string& line) { return std::find(lines.begin(), lines.end(), line) != lines.end(); };
  EXPECT_TRUE(has("marking.run: automatic SW marking"));
  EXPECT_TRUE(has("marking.matrix: grid.txt"));
  EXPECT_TRUE(has("marking.min_diff_value_sw: -150"));
  EXPECT_TRUE(has("marking.sampling_frequency_hz: 1000"));
  EXPECT_TRUE(has("marking.smoothing: moving mean of 20 samples"));
  EXPECT_TRUE(has("marking.method: described"));
  EXPECT_TRUE(has("amplitudes.half_window_ms: 500"));
  EXPECT_TRUE(has("amplitudes.sampling_frequency_hz: 1000"));
  EXPECT_EQ(testing::ReadFile(SettingsPath()).rfind("velmora mark settings 1\n[marking]\nrun: automatic SW marking\n", 0),
            0u);
}

TEST_F(MarkSettingsFileTest, WithoutAnyRunASaveLeavesAFileBesideAlone) {
  dir.Write("REC.M00.settings.txt", "kept");
  WriteMarkFile(*s, ui);
  EXPECT_EQ(testing::ReadFile(SettingsPath()), "kept");
}

TEST_F(MarkSettingsFileTest, ReadingTheMarksReadsTheirSettingsAndAnotherStoreForgetsThem) {
  MarkSettingsFile::CaptureMarking(*s, "spreading marking");
  WriteMarkFile(*s, ui);
  auto again = std::make_unique<AnalysisState>();
  again->MarkFileName = s->MarkFileName;
  ReadMarkFile(*again, ui, nullptr);
  EXPECT_EQ(MarkSettingsFile::Lines(again->MarkingSettings), MarkSettingsFile::Lines(s->MarkingSettings));
  ApplyMarkFile(*again, MarkFile::Parse("other.M00", testing::MarkFileBytes({})));
  EXPECT_TRUE(again->MarkingSettings.Empty());
}

TEST_F(MarkSettingsFileTest, ABadSettingsFileIsSaidAndTheMarksStillLoad) {
  dir.Write("REC.M00", testing::MarkFileBytes({MarkRecord{17, kSlowWave, 100}}));
  dir.Write("REC.M00.settings.txt", "velmora mark settings 1\nrun: x\n");
  ReadMarkFile(*s, ui, nullptr);
  EXPECT_EQ(s->MarkCount, 1);
  EXPECT_TRUE(s->MarkingSettings.Empty());
  ASSERT_EQ(ui.errors.size(), 1u);
  EXPECT_EQ(ui.errors[0], SettingsPath() + ": line 2: a setting before [marking] or [amplitudes]");
}

TEST(MarkSettingsFileParse, RefusesABadFileNamingTheLineAndTheProblem) {
  const std::string first = "velmora mark settings 1\n";
  const struct {
    std::string text, problem;
  } cases[] = {
      {"", "line 1: expected \"velmora mark settings 1\", the file is empty"},
      {"velmora mark settings 2\n", "line 1: expected \"velmora mark settings 1\""},
      {first + "[marking]\nrun automatic\n", "line 3: expected \"key: value\""},
      {first + "[marking]\nRun: x\n", "line 3: \"Run\" is not a setting name (a to z, 0 to 9 and _, at most 40)"},
      {first + "[marking]\nrun: a\x01z\n", "line 3: the value holds a control character"},
      {first + "[marking]\nrun: " + std::string(301, 'x') + "\n", "line 3: the value is longer than 300 characters"},
      {first + "[marking]\nrun: a\nrun: b\n", "line 4: \"run\" comes twice in its section"},
      {first + "[marking]\n[amplitudes]\n[marking]\n", "line 4: [marking] comes twice"},
      {std::string(64 * 1024 + 1, 'x'), "larger than 65536 bytes"},
  };
  for (const auto& c : cases) {
    try {
      MarkSettingsFile::Parse("s.txt", c.text);
      ADD_FAILURE() << "accepted: " << c.problem;
    } catch (const IoError& error) {
      EXPECT_EQ(std::string(error.what()), "s.txt: " + c.problem);
    }
  }
}

TEST(MarkSettingsFileParse, ReadsWhatItWritesWithWindowsLineEnds) {
  MarkSettings settings;
  settings.marking = {{"run", "automatic SW marking"}, {"matrix", "a b.txt"}};
  settings.amplitudes = {{"units_per_mv", "747"}};
  std::string text = MarkSettingsFile::Text(settings);
  const MarkSettings read = MarkSettingsFile::Parse("s.txt", text);
  EXPECT_EQ(read.marking, settings.marking);
  EXPECT_EQ(read.amplitudes, settings.amplitudes);
  for (size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 2)) text.insert(at, "\r");
  EXPECT_EQ(MarkSettingsFile::Parse("s.txt", text).marking, settings.marking);
}

}  // namespace
}  // namespace velmora
