#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "output/PrintLayout.h"
#include "support/CliRunner.h"
#include "support/PageRaster.h"
#include "support/TempDir.h"

namespace velmora {
namespace {

using testing::PageRaster;

constexpr int kDpi = 60;  // a tenth of the page's 600 units per inch

int Px(int units) { return units * kDpi / 600; }

// The sample recording (16 x 15 electrodes) with its slow waves marked.
class PrintCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ::setenv("XDG_DATA_HOME", dir.File("xdg").c_str(), 1);
    ASSERT_EQ(Cli("sample " + dir.File("s") + " --seconds 20").status, 0);
    recording = dir.File("s/sample.E00");
    matrix = dir.File("s/sample-matrix.txt");
    ASSERT_EQ(Cli("automark " + recording + " --matrix " + matrix + " --write").status, 0);
  }

  testing::CliRun Cli(const std::string& arguments) { return testing::RunCli(arguments, dir.File("stderr.txt")); }

  // Prints to a PDF and turns its page into pixels.
  std::optional<PageRaster> PrintPage(const std::string& options, const std::string& name = "page.pdf") {
    const std::string out = dir.File(name);
    const testing::CliRun run = Cli("print " + recording + " --matrix " + matrix + " " + options + " --out " + out);
    EXPECT_EQ(run.status, 0) << run.err;
    return PageRaster::Render(out, kDpi);
  }

  // True when row `y` (pixels) is inked across the printable width, within a pixel.
  static bool FullWidthLine(const PageRaster& page, const PrintLayout& layout, int y) {
    const int left = Px(PrintLayout::kMargin) + 1, right = Px(PrintLayout::kMargin + layout.PrintWidth) - 1;
    for (int row = y - 1; row <= y + 1; ++row)
      if (page.InkIn(left, row, right, row + 1) == right - left) return true;
    return false;
  }

  static PrintLayout LayoutOf(const PageRaster& page, int panel) {
    return PrintLayout::CalcPrintPage(page.Width() * 600 / kDpi, page.Height() * 600 / kDpi, panel, false);
  }

  testing::TempDir dir;
  std::string recording, matrix;
};

TEST_F(PrintCommandTest, BothPanesFallInTheirBandsInBlackOnly) {
  SKIP_WITHOUT_PICTURES();
  const std::optional<PageRaster> page = PrintPage("--panel both --caption Sample");
  if (!page) GTEST_SKIP() << "pdftoppm (poppler-utils) is not installed";
  ASSERT_GT(page->Width(), page->Height()) << "landscape unless told otherwise";
  const PrintLayout l = LayoutOf(*page, 2);
  for (int y : {l.BarTopA, l.ContentTopA, l.BarTopB, l.ContentTopB, l.StatusTop + 40, l.StatusTop + 300})
    EXPECT_TRUE(FullWidthLine(*page, l, Px(y))) << "band edge at " << y << " units";
  for (int y = Px(PrintLayout::kMargin); y < Px(l.BarTopA) - 2; ++y) EXPECT_FALSE(FullWidthLine(*page, l, y)) << y;
  int tinted = 0;
  for (int y = 0; y < page->Height(); ++y)
    for (int x = 0; x < page->Width(); ++x) tinted += page->Tinted(x, y) ? 1 : 0;
  EXPECT_EQ(tinted, 0) << "pixels neither black nor white";
  // Pane B's time map: square cells from the left margin, nothing to the right of them.
  const int cell = std::min(int(std::lround(l.PrintWidth / 16.0)), int(std::lround((l.PaneHeightB - 200) / 15.0)));
  const int mapRight = Px(PrintLayout::kMargin + 16 * cell), mapTop = Px(l.ContentTopB), mapBottom = Px(l.ContentTopB + 15 * cell);
  EXPECT_GT(page->InkIn(mapRight - 1, mapTop + 2, mapRight + 2, mapBottom - 2), (mapBottom - mapTop) * 9 / 10);
  EXPECT_EQ(page->InkIn(mapRight + 3, mapTop + 2, Px(PrintLayout::kMargin + l.PrintWidth) - 2, mapBottom), 0);
  EXPECT_GT(page->InkIn(Px(PrintLayout::kMargin) + 2, mapTop + 2, mapRight - 2, mapBottom - 2), 0) << "digits";
}

TEST_F(PrintCommandTest, OnlyMarksLeavesTheTracesOut) {
  SKIP_WITHOUT_PICTURES();
  const std::optional<PageRaster> traces = PrintPage("--panel top", "traces.pdf");
  if (!traces) GTEST_SKIP() << "pdftoppm (poppler-utils) is not installed";
  const std::optional<PageRaster> marks = PrintPage("--panel top --only-marks", "marks.pdf");
  ASSERT_TRUE(marks);
  const PrintLayout l = LayoutOf(*traces, 0);
  const int left = Px(PrintLayout::kMargin) + 2, right = Px(PrintLayout::kMargin + l.PrintWidth) - 2;
  const int top = Px(l.ContentTopA) + 2, bottom = Px(l.ContentTopA + l.PaneHeightA - PrintLayout::kReserve) - 2;
  const int withTraces = traces->InkIn(left, top, right, bottom), onlyMarks = marks->InkIn(left, top, right, bottom);
  EXPECT_GT(onlyMarks, 0) << "the marks stay";
  EXPECT_GT(withTraces, onlyMarks + (right - left) * 4) << "each of the traces runs across the pane";
}

TEST_F(PrintCommandTest, PortraitPageIsUpright) {
  SKIP_WITHOUT_PICTURES();
  const std::optional<PageRaster> page = PrintPage("--orientation portrait --panel bottom");
  if (!page) GTEST_SKIP() << "pdftoppm (poppler-utils) is not installed";
  EXPECT_LT(page->Width(), page->Height());
  const PrintLayout l = LayoutOf(*page, 1);
  EXPECT_TRUE(FullWidthLine(*page, l, Px(l.BarTopB)));
  EXPECT_EQ(l.BarTopB, PrintLayout::kMargin + PrintLayout::kTitleBand);
}

TEST_F(PrintCommandTest, BadCommandLinesAndFilesFailWithoutAPage) {
  SKIP_WITHOUT_PICTURES();
  const std::string base = "print " + recording + " --matrix " + matrix + " ";
  struct Case {
    std::string arguments, named;
    int status;
  };
  const Case cases[] = {
      {"--panel middle --out " + dir.File("a.pdf"), "--panel", 2},
      {"--orientation upright --out " + dir.File("a.pdf"), "--orientation", 2},
      {"--out " + dir.File("a.png"), "--out", 2},
      {"--out " + dir.File("missing/a.pdf"), "missing/a.pdf", 1},
  };
  for (const Case& c : cases) {
    const testing::CliRun run = Cli(base + c.arguments);
    EXPECT_EQ(run.status, c.status) << c.arguments;
    EXPECT_NE(run.err.find(c.named), std::string::npos) << run.err;
  }
  const testing::CliRun missing = Cli("print " + dir.File("none.E00") + " --matrix " + matrix + " --out " + dir.File("a.pdf"));
  EXPECT_EQ(missing.status, 1);
  EXPECT_FALSE(std::filesystem::exists(dir.File("a.pdf")));
}

}  // namespace
}  // namespace velmora
