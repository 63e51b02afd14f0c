// The load a real session brings: a recording of 256 channels that fills the 65,535 rows of
// the store, with 32,767 marks, driven through the commands of a working day. Nothing may be
// lost on the way; each command's time goes to the test output for a look (the sanitizer
// suite runs this too, where any overrun or overflow on the way stops it).
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "commands/RecordingCommands.h"
#include "core/AnalysisState.h"
#include "core/DataRoot.h"
#include "core/RecordingCanvas.h"
#include "input/E00Reader.h"
#include "maps/MapDrawing.h"
#include "marks/AutomaticMarking.h"
#include "marks/ElectrogramDrawing.h"
#include "marks/MarkSaving.h"
#include "output/PrintMapPane.h"
#include "support/E00Builder.h"
#include "support/MarkFileBytes.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"
#include "waves/WaveSearch.h"

namespace velmora {
namespace {

constexpr int kRows = 65535;
constexpr int kFrames = kRows + 20;  // the store takes a recording's frames less 20
constexpr int kMarks = 32767;
constexpr int kCols = 16, kGridRows = 15;

// Slow waves every 20 s, a dip of 2000 lasting 150 samples, later on electrodes further along.
int16_t SlowWaves(int record, int channel) {
  const int delay = (channel % kCols) * 40;
  return int16_t((record + 20000 - delay) % 20000 < 150 ? -2000 : (record * 13 + channel * 7) % 40 - 20);
}

std::vector<MarkRecord> ManyMarks() {
  std::vector<MarkRecord> marks;
  for (int n = 0; n < kMarks; ++n) marks.push_back(testing::HandMark(17 + n % 240, 1 + (n / 240) * 479 % kRows));
  return marks;
}

struct Timed {
  explicit Timed(const char* command) : command_(command), start_(std::chrono::steady_clock::now()) {}
  ~Timed() {
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start_;
    std::printf("[ session  ] %-22s %7.3f s\n", command_, took.count());
  }
  const char* command_;
  std::chrono::steady_clock::time_point start_;
};

std::vector<MarkRecord> MarksOf(const AnalysisState& s) {
  std::vector<MarkRecord> marks;
  for (int n = 1; n <= s.MarkCount; ++n) marks.push_back(s.Mark(n));
  return marks;
}

bool SameMarks(const std::vector<MarkRecord>& a, const std::vector<MarkRecord>& b) {
  if (a.size() != b.size()) return false;
  for (size_t n = 0; n < a.size(); ++n) {
    const MarkRecord &x = a[n], &y = b[n];
    if (x.Electrode != y.Electrode || x.Kind != y.Kind || x.Time != y.Time || x.Origin != y.Origin) return false;
  }
  return true;
}

TEST(FullStoreSessionTest, AWorkingDayOnAFullStoreLosesNothing) {
  testing::TempDir dir;
  const DataRoot root{dir.File("root")};
  root.EnsureExists();
  testing::ScriptedUi ui;
  auto s = std::make_unique<AnalysisState>();
  s->DefaultMatrixFileName = dir.Write("grid.txt", testing::NewMatrixText(kCols, kGridRows));
  const std::string recording = dir.Write("FULL.E00", testing::E00Builder{256, 2, 4096, kFrames, 0, 0, SlowWaves}.Bytes());
  dir.Write("FULL.M00", testing::MarkFileBytes(ManyMarks()));
  E00Reader reader{*s, ui, root};
  RecordingCommands commands{*s, ui, reader};
  {
    Timed t("open");
    ASSERT_TRUE(commands.OpenE00(recording));
  }
  ASSERT_EQ(s->MarkCount, kMarks);
  ASSERT_EQ(s->SigLength, kRows);
  const std::vector<MarkRecord> before = MarksOf(*s);
  RecordingCanvas canvas;
  {
    Timed t("redraw electrograms");
    ElectrogramDrawing(*s, canvas).DrawElectrograms();
  }
  EXPECT_FALSE(canvas.Lines().empty());
  for (int kind = 0; kind <= 6; ++kind) {
    s->CurMapKind = uint8_t(kind);
    const std::string name = "map kind " + std::to_string(kind);
    const size_t drawn = canvas.Lines().size();
    Timed t(name.c_str());
    MapDrawing::DrawMap(*s, canvas, 1000, 900, PrintMapPane::StandardHooks());
    EXPECT_GT(canvas.Lines().size(), drawn + kCols * kGridRows) << name;
  }
  {
    Timed t("waves");
    WaveSearch().CalculateWaves(*s);
  }
  {
    Timed t("automatic marking");
    AutomaticMarking(*s, ui).MarkAllSlowWaves();
  }
  // The marks made by hand stay as they were, whatever automatic marking could add.
  ASSERT_GE(s->MarkCount, kMarks);
  for (int n = 1; n <= kMarks; ++n) ASSERT_EQ(s->Mark(n).Time, before[size_t(n - 1)].Time) << n;
  {
    Timed t("save");
    s->MarksChanged = true;
    ASSERT_TRUE(MarkSaving::SaveMarks(*s, ui));
  }
  const std::vector<MarkRecord> saved = MarksOf(*s);
  {
    Timed t("reopen");
    ASSERT_TRUE(commands.OpenE00(recording));
  }
  EXPECT_TRUE(SameMarks(MarksOf(*s), saved));
  EXPECT_TRUE(ui.errors.empty()) << ui.errors.front();
}

}  // namespace
}  // namespace velmora
