#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "commands/RecordingCommands.h"
#include "core/AnalysisState.h"
#include "core/AtomicFile.h"
#include "core/DataRoot.h"
#include "core/RecordingCanvas.h"
#include "input/E00Reader.h"
#include "marks/ElectrogramDrawing.h"
#include "marks/MarkFile.h"
#include "support/E00Builder.h"
#include "support/ScriptedUi.h"
#include "support/CliRunner.h"
#include "support/MarkFileBytes.h"
#include "support/TempDir.h"

namespace velmora {
namespace {

struct RenderRun {
  int status = -1;
  std::string err;
};

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

using testing::MarkFileBytes;

MarkRecord SlowWaveByHand(int electrode, int time) { return testing::HandMark(electrode, time); }

uint32_t BigEndian32(const std::string& bytes, size_t at) {
  uint32_t value = 0;
  for (size_t i = 0; i < 4; ++i) value = value << 8 | uint8_t(bytes[at + i]);
  return value;
}

int Count(const std::string& text, const std::string& part) {
  int count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

class RenderCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ::setenv("XDG_DATA_HOME", dir.File("xdg").c_str(), 1);
    matrix = dir.Write("grid.txt", testing::NewMatrixText(16, 15));
    recording = dir.Write("rec.E00", testing::E00Builder{}.Bytes());
  }

  // Runs `velmora-cli render` on the test recording; stderr is kept for the messages.
  RenderRun Render(const std::string& arguments) {
    const testing::CliRun run =
        testing::RunCli("render " + recording + " --matrix " + matrix + " " + arguments, dir.File("stderr.txt"));
    return RenderRun{run.status, run.err};
  }

  std::vector<std::string> RenderText(const std::string& arguments) {
    const std::string out = dir.File("pane.txt");
    std::filesystem::remove(out);  // a second render in one test must not read the first
    const RenderRun run = Render(arguments + " --out " + out);
    EXPECT_EQ(run.status, 0) << run.err;
    const std::string text = FileExists(out) ? testing::ReadFile(out) : "";
    EXPECT_TRUE(!text.empty() && text.back() == '\n');
    return SplitLines(text);
  }

  // Pane A as the workbench draws it: the recording opened by the open command, `settings`
  // applied, then the pane laid out at `width` x `height` from BeginA and WindowA.
  std::vector<std::string> DrawnInProcess(int width, int height, const std::function<void(AnalysisState&)>& settings) {
    DataRoot root(dir.File("root"));
    root.EnsureExists();
    testing::ScriptedUi ui;
    auto s = std::make_unique<AnalysisState>();
    s->DefaultMatrixFileName = matrix;
    E00Reader reader(*s, ui, root);
    RecordingCommands commands(*s, ui, reader);
    EXPECT_TRUE(commands.OpenE00(recording));
    settings(*s);
    s->PaneWidth = width;
    s->PaneHeight = height;
    s->CurBegin = s->BeginA;
    s->CurWindow = s->WindowA;
    RecordingCanvas canvas;
    ElectrogramDrawing(*s, canvas).DrawElectrograms();
    return canvas.Lines();
  }

  static std::vector<std::string> Matching(const std::vector<std::string>& lines, const std::string& prefix) {
    std::vector<std::string> out;
    for (const std::string& line : lines)
      if (line.rfind(prefix, 0) == 0) out.push_back(line);
    return out;
  }

  // The text of the time grid's first label ("text X 1 LABEL").
  static std::string FirstTimeLabel(const std::vector<std::string>& lines) {
    for (const std::string& line : Matching(lines, "text ")) {
      std::istringstream in(line);
      std::string word, x, y, label;
      in >> word >> x >> y >> label;
      if (y == "1") return label;
    }
    return "";
  }

  testing::TempDir dir;
  std::string matrix, recording;
};

TEST_F(RenderCommandTest, TextIsThePaneTheWorkbenchDraws) {
  const std::vector<std::string> lines = RenderText("");
  const std::vector<std::string> expected = DrawnInProcess(1000, 700, [](AnalysisState&) {});
  ASSERT_EQ(lines.size(), expected.size());
  for (size_t i = 0; i < lines.size(); ++i) ASSERT_EQ(lines[i], expected[i]) << "line " << i + 1;
  // The workbench's grid has 16 columns, so 16 traces over the whole signal.
  EXPECT_EQ(Matching(lines, "polyline").size(), 16u);
  EXPECT_EQ(lines.front(), "pen ffffff 1 copy");
  EXPECT_EQ(FirstTimeLabel(lines), "0");
}

TEST_F(RenderCommandTest, TraceOptionsReachThePane) {
  const std::vector<std::string> lines = RenderText(
      "--traces 3 --order vertical --first-col 2 --first-row 4 --amplification 0.05 --begin 120 --window 400 "
      "--size 800x400");
  const std::vector<std::string> expected = DrawnInProcess(800, 400, [](AnalysisState& s) {
    s.NrTraces = 3;
    s.TraceOrder = 2;
    s.FirstCol = 2;
    s.FirstRow = 4;
    s.Amplification = 0.05;
    s.BeginA = 120;
    s.WindowA = 400;
  });
  EXPECT_EQ(lines, expected);
  // Down column 2 from row 4 of a grid numbered 17, 18, ... row by row.
  const std::vector<std::string> labels = Matching(lines, "text 4 ");
  ASSERT_EQ(labels.size(), 3u);
  EXPECT_EQ(labels[0].substr(labels[0].rfind(' ') + 1), "66");
  EXPECT_EQ(labels[2].substr(labels[2].rfind(' ') + 1), "98");
}

TEST_F(RenderCommandTest, SequentialOrderFromAChannel) {
  const std::vector<std::string> lines = RenderText("--traces 2 --order sequential --first-channel 17");
  EXPECT_EQ(Matching(lines, "polyline").size(), 2u);
  const std::vector<std::string> labels = Matching(lines, "text 4 ");
  ASSERT_EQ(labels.size(), 2u);
  EXPECT_EQ(labels[0].substr(labels[0].rfind(' ') + 1), "17");
  EXPECT_EQ(labels[1].substr(labels[1].rfind(' ') + 1), "18");
  EXPECT_EQ(lines, DrawnInProcess(1000, 700, [](AnalysisState& s) {
              s.NrTraces = 2;
              s.TraceOrder = 0;
              s.FirstChannel = 17;
            }));
}

TEST_F(RenderCommandTest, WaveFormsDrawOneTracePerGridCell) {
  const std::vector<std::string> lines = RenderText("--waveforms --begin 100 --window 200 --size 900x650");
  const std::vector<std::string> traces = Matching(lines, "polyline");
  ASSERT_EQ(traces.size(), 16u * 15u);
  for (const std::string& trace : traces) ASSERT_EQ(trace.rfind("polyline 201 ", 0), 0u) << trace;
  EXPECT_EQ(Matching(lines, "line ").size(), 17u + 16u);
  EXPECT_EQ(Matching(lines, "text ").size(), 2u * 16u + 2u * 15u);
}

TEST_F(RenderCommandTest, BeginAndWindowMoveTheTimeGrid) {
  const std::vector<std::string> whole = RenderText("");
  const std::vector<std::string> part = RenderText("--begin 300 --window 200");
  EXPECT_EQ(FirstTimeLabel(part), "300");
  EXPECT_NE(Matching(part, "text "), Matching(whole, "text "));
  // The traces are as long as the pane whatever the window; only the samples shown change.
  EXPECT_NE(Matching(part, "polyline"), Matching(whole, "polyline"));
}

TEST_F(RenderCommandTest, AGivenMarkFileReplacesTheOneBesideTheRecording) {
  dir.Write("rec.M00", MarkFileBytes({SlowWaveByHand(18, 400), SlowWaveByHand(18, 600)}));
  const std::string marks = dir.Write("other.M00", MarkFileBytes({SlowWaveByHand(17, 500)}));
  const std::vector<std::string> lines = RenderText("--marks " + marks);
  std::vector<std::string> afterRedPen;
  for (size_t i = 0; i + 1 < lines.size(); ++i)
    if (lines[i] == "pen ff0000 2 copy") afterRedPen.push_back(lines[i + 1]);
  ASSERT_EQ(afterRedPen.size(), 1u);
  EXPECT_EQ(afterRedPen[0].rfind("line ", 0), 0u);
  EXPECT_EQ(Matching(lines, "text " + std::to_string(std::stoi(afterRedPen[0].substr(5)) + 5) + " ").size(), 1u);
  EXPECT_EQ(lines, DrawnInProcess(1000, 700, [&](AnalysisState& s) {
              ApplyMarkFile(s, MarkFile::Parse(marks, testing::ReadFile(marks)));
            }));
}

// The map pane's digits count from the chosen reference mark's time.
TEST_F(RenderCommandTest, AReferenceMarkShiftsTheMapDigits) {
  const std::string marks =
      dir.Write("ref.M00", MarkFileBytes({SlowWaveByHand(18, 500), testing::HandMark(17, 200, kReferenceMark)}));
  const auto Digits = [&](const std::string& reference) {
    return Matching(RenderText("--marks " + marks + " --pane map --kind time --no-legend " + reference), "text ");
  };
  const auto HasLabel = [](const std::vector<std::string>& texts, const std::string& label) {
    return std::any_of(texts.begin(), texts.end(),
                       [&](const std::string& t) { return t.size() > label.size() && t.ends_with(" " + label); });
  };
  const std::vector<std::string> plain = Digits(""), shifted = Digits("--reference-mark 17:200");
  EXPECT_TRUE(HasLabel(plain, "500"));
  EXPECT_TRUE(HasLabel(shifted, "300"));
  EXPECT_FALSE(HasLabel(shifted, "500"));
}

TEST_F(RenderCommandTest, WithoutAMarkFileNoMarksAreDrawn) {
  const std::vector<std::string> lines = RenderText("");
  EXPECT_TRUE(std::find(lines.begin(), lines.end(), "pen ff0000 2 copy") == lines.end());
}

TEST_F(RenderCommandTest, PngHasThePaneSize) {
  SKIP_WITHOUT_PICTURES();
  const std::string out = dir.File("pane.png");
  const RenderRun run = Render("--size 640x360 --out " + out);
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string png = testing::ReadFile(out);
  ASSERT_GE(png.size(), 33u);
  EXPECT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
  EXPECT_EQ(png.substr(12, 4), "IHDR");
  EXPECT_EQ(BigEndian32(png, 16), 640u);
  EXPECT_EQ(BigEndian32(png, 20), 360u);
  // The picture shows the drawing: other traces give other pixels.
  const std::string other = dir.File("other.png");
  ASSERT_EQ(Render("--size 640x360 --traces 1 --out " + other).status, 0);
  EXPECT_NE(testing::ReadFile(other), png);
}

TEST_F(RenderCommandTest, PdfIsOnePageOfThePaneSize) {
  SKIP_WITHOUT_PICTURES();
  const std::string out = dir.File("pane.pdf");
  const RenderRun run = Render("--size 1000x700 --out " + out);
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string pdf = testing::ReadFile(out);
  EXPECT_EQ(pdf.substr(0, 4), "%PDF");
  // 1000 x 700 pixels at 96 dpi are 750 x 525 points.
  const size_t box = pdf.find("/MediaBox [");
  ASSERT_NE(box, std::string::npos);
  std::istringstream in(pdf.substr(box + 11, 80));
  double left = -1, bottom = -1, right = 0, top = 0;
  in >> left >> bottom >> right >> top;
  EXPECT_DOUBLE_EQ(left, 0);
  EXPECT_DOUBLE_EQ(bottom, 0);
  EXPECT_DOUBLE_EQ(right, 750);
  EXPECT_DOUBLE_EQ(top, 525);
  EXPECT_EQ(Count(pdf, "/Type /Page") - Count(pdf, "/Type /Pages"), 1);
}

TEST_F(RenderCommandTest, SvgCoversThePane) {
  SKIP_WITHOUT_PICTURES();
  const std::string out = dir.File("pane.svg");
  const RenderRun run = Render("--size 900x500 --out " + out);
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string svg = testing::ReadFile(out);
  EXPECT_NE(svg.find("<svg"), std::string::npos);
  EXPECT_NE(svg.find("viewBox=\"0 0 900 500\""), std::string::npos);
  EXPECT_NE(svg.find("<polyline"), std::string::npos);
}

TEST_F(RenderCommandTest, BadOptionsFailNamingTheOption) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"--size 1000", "--size"},          {"--size 0x700", "--size"},
      {"--size wide", "--size"},          {"--size 10x20x", "--size"},
      {"--amplification 0", "--amplification"}, {"--amplification -1", "--amplification"},
      {"--amplification lots", "--amplification"}, {"--order diagonal", "--order"},
      {"--traces 0", "--traces"},         {"--traces two", "--traces"},
      {"--begin -5", "--begin"},          {"--window 0", "--window"},
      {"--first-channel 300", "--first-channel"}, {"--first-col 0", "--first-col"},
      {"--pane maps", "--pane"},
  };
  for (const auto& [arguments, option] : cases) {
    const std::string out = dir.File("bad.txt");
    const RenderRun run = Render(arguments + " --out " + out);
    EXPECT_EQ(run.status, 2) << arguments;
    EXPECT_NE(run.err.find(option), std::string::npos) << arguments << ": " << run.err;
    EXPECT_FALSE(FileExists(out)) << arguments;
  }
}

TEST_F(RenderCommandTest, AnUnknownPictureKindIsRefused) {
  const RenderRun run = Render("--out " + dir.File("pane.bmp"));
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("--out"), std::string::npos) << run.err;
  EXPECT_FALSE(FileExists(dir.File("pane.bmp")));
}

TEST_F(RenderCommandTest, AnUnwritableOutputIsAnError) {
  for (const char* name : {"missing/pane.txt", "missing/pane.png"}) {
    const RenderRun run = Render(std::string("--out ") + dir.File(name));
    EXPECT_EQ(run.status, 1) << name;
    EXPECT_NE(run.err.find(dir.File(name)), std::string::npos) << run.err;
  }
}

}  // namespace
}  // namespace velmora
