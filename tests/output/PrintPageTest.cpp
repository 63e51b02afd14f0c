#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "core/AnalysisState.h"
#include "core/RecordingCanvas.h"
#include "maps/MapFixture.h"
#include "output/PrintElectrogramPane.h"
#include "output/PrintLayout.h"
#include "output/PrintMapPane.h"
#include "output/PrintPage.h"

namespace velmora {
namespace {

using Lines = std::vector<std::string>;

MarkRecord Mark(int electrode, int kind, int time, int origin) {
  MarkRecord mark;
  mark.Electrode = uint16_t(electrode);
  mark.Kind = int16_t(kind);
  mark.Time = time;
  mark.Origin = int16_t(origin);
  return mark;
}

bool Has(const Lines& lines, const std::string& line) { return std::find(lines.begin(), lines.end(), line) != lines.end(); }

int CountStarting(const Lines& lines, const std::string& start) {
  return int(std::count_if(lines.begin(), lines.end(), [&](const std::string& l) { return l.rfind(start, 0) == 0; }));
}

TEST(PrintLayout, PanesShareTheHeightLeftByTitleBarStatusAndMargins) {
  struct Case {
    int panel;
    bool statistics;
    int heightA, heightB, barTopB, contentTopB, statusTop;
  };
  // Page height 5000: 4000 are left for panes; both panes count only one bar.
  const Case cases[] = {
      {0, false, 4000, 0, 4500, 4500, 4500},
      {1, false, 0, 4000, 400, 500, 4500},
      {2, false, 2000, 2000, 2500, 2600, 4600},
      {0, true, 3900, 0, 4400, 4400, 4500},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.panel);
    const PrintLayout l = PrintLayout::CalcPrintPage(6400, 5000, c.panel, c.statistics);
    EXPECT_EQ(l.PrintWidth, 6000);
    EXPECT_EQ(l.PaneHeightA, c.heightA);
    EXPECT_EQ(l.PaneHeightB, c.heightB);
    EXPECT_EQ(l.BarTopA, 400);
    EXPECT_EQ(l.ContentTopA, c.heightA > 0 ? 500 : 400);
    EXPECT_EQ(l.BarTopB, c.barTopB);
    EXPECT_EQ(l.ContentTopB, c.contentTopB);
    EXPECT_EQ(l.StatusTop, c.statusTop);
  }
}

TEST(PrintElectrogramScale, TimeLabelsStepWithTheWindow) {
  const std::pair<int, int> cases[] = {{100, 10},  {150, 50},    {500, 50},    {1000, 100},
                                       {2000, 200}, {4000, 1000}, {10000, 1000}, {10001, 2000}};
  for (const auto& [window, step] : cases) EXPECT_EQ(PrintElectrogramPane::TimeStep(window), step) << window;
}

class PrintPaneTest : public testing::MapFixture {
 protected:
  void SetUp() override {
    MapFixture::SetUp();
    s->NrCols = s->NrRows = 8;
    for (int col = 1; col <= 8; ++col)
      for (int row = 1; row <= 8; ++row)
        if (!(col == 3 && row == 3)) Place(16 + (row - 1) * 8 + col, col, row);
    s->SigLength = 4000;
    s->BeginA = 0;
    s->WindowA = 4000;
    s->TraceOrder = 0;
    s->FirstChannel = 17;
    s->PaneKindA = 1;
    s->PaneKindB = 0;
    sources.TitleBarA = "title A";
    sources.TitleBarB = "title B";
    sources.MapHooks.FillMapGrid = [](AnalysisState& state) {
      for (int col = 1; col <= 8; ++col)
        for (int row = 1; row <= 8; ++row) state.Cell(col, row).Value = 1000 * col + row;
    };
  }

  // The page's primitives on a 6400 x 5000 page: printable width 6000.
  Lines PrintPageLines(int panel) {
    settings.PrintPanel = panel;
    RecordingCanvas canvas;
    PrintPage(*s, settings, sources).Print(canvas, 6400, 5000);
    return canvas.Lines();
  }

  PrintSettings settings;
  PrintSources sources;
};

TEST_F(PrintPaneTest, MapCellsAreSquareAndAsLargeAsWidthAndPaneAllow) {
  EXPECT_EQ(PrintMapPane::CalcPrintMapSize(*s, 6000, 4000), 475);  // 750 across, 475 down
  s->PaneKindA = 0;
  const Lines lines = PrintPageLines(0);
  // Map of 3800 x 3800 at (200, 500); ticks of 95 from the top edge.
  EXPECT_TRUE(Has(lines, "line 200 500 4000 500"));
  EXPECT_TRUE(Has(lines, "line 4000 4300 200 4300"));
  EXPECT_TRUE(Has(lines, "line 675 500 675 595"));
  // Column 1 row 1 holds 1001, centred on (438, 738); position (3, 3) has no electrode: a cross.
  EXPECT_TRUE(Has(lines, "text " + std::to_string(438 - 28 / 2) + " " + std::to_string(738 - 13 / 2) + " 1001"));
  const int cx = 200 + 2 * 475 + 238, cy = 500 + 2 * 475 + 238;
  EXPECT_TRUE(Has(lines, "line " + std::to_string(cx - 23) + " " + std::to_string(cy) + " " + std::to_string(cx + 23) +
                             " " + std::to_string(cy)));
  EXPECT_FALSE(Has(lines, "text " + std::to_string(cx - 14) + " " + std::to_string(cy - 6) + " 3003"))
      << "no digits in a cell without electrode";
}

TEST_F(PrintPaneTest, EverythingIsPrintedInBlack) {
  s->PlotIsochrones = true;
  s->Mark(++s->MarkCount) = Mark(17, kSlowWave, 1500, kByHand);
  for (int panel : {0, 1, 2}) {
    for (const std::string& line : PrintPageLines(panel)) {
      if (line.rfind("pen ", 0) == 0 || line.rfind("brush ", 0) == 0 || line.rfind("font ", 0) == 0) {
        const std::string colour = line.substr(line.find(' ') + 1, 6);
        EXPECT_TRUE(colour == "000000" || colour == "ffffff") << line;
      }
    }
  }
}

TEST_F(PrintPaneTest, ElectrogramMarksSitInTheirTraceBand) {
  s->NrTraces = 4;
  s->Mark(++s->MarkCount) = Mark(18, kSlowWave, 1500, kByHand);
  s->Mark(++s->MarkCount) = Mark(19, kSlowWave, 3000, kAutomatic);
  const Lines lines = PrintPageLines(0);
  // xs = 6000 / 4000 = 1.5; bands of (4000 - 200) / 4 = 950; trace 2 centred at 500 + 475 + 950.
  const int centre2 = 1925, centre3 = 2875;
  EXPECT_TRUE(Has(lines, "pen 000000 9 copy"));
  EXPECT_TRUE(Has(lines, "line 2450 " + std::to_string(centre2 - 475 + 95) + " 2450 " + std::to_string(centre2 + 475 - 95)));
  EXPECT_TRUE(Has(lines, "text 2465 " + std::to_string(centre2 - 475 + 95) + " 1500"));
  EXPECT_TRUE(Has(lines, "line 4700 " + std::to_string(centre3 - 380) + " 4700 " + std::to_string(centre3 + 380)));
  // Time labels every 1000 ms, 1500 units apart.
  EXPECT_TRUE(Has(lines, "line 1700 4300 1700 4320"));
  EXPECT_EQ(CountStarting(lines, "line 6200 4300 6200 4320"), 1);
}

TEST_F(PrintPaneTest, TimeLabelsKeepOneStepAlongTheAxisAndNeverTouch) {
  // 6000 units across; labels of 7 units a character and a blank between them. Over 300 s the
  // ticks are 40 apart: four-digit labels fit between them, five-digit ones do not. Over
  // 3000 s they are 4 apart, and seven-digit labels need 15 of them.
  const struct {
    int window, labelStep;
  } cases[] = {{4000, 1000}, {60000, 2000}, {300000, 4000}, {3000000, 30000}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.window);
    s->WindowA = c.window;
    const Lines lines = PrintPageLines(0);
    std::vector<std::pair<int, long>> labels;  // left edge, time
    for (const std::string& line : lines) {
      int x = 0, y = 0;
      long time = 0;
      if (std::sscanf(line.c_str(), "text %d %d %ld", &x, &y, &time) == 3 && y == 4300 + 50) labels.push_back({x, time});
    }
    ASSERT_GE(labels.size(), 2u);
    EXPECT_EQ(labels[0].second, 0);
    for (size_t k = 1; k < labels.size(); ++k) {
      ASSERT_EQ(labels[k].second - labels[k - 1].second, c.labelStep) << labels[k].second;
      const int width = int(std::to_string(labels[k - 1].second).size()) * 7;
      EXPECT_GT(labels[k].first, labels[k - 1].first + width + 7) << labels[k].second;
    }
  }
}

TEST_F(PrintPaneTest, OnlyMarksLeavesOutTheTracesButNotTheirMarks) {
  s->NrTraces = 4;
  s->Mark(++s->MarkCount) = Mark(18, kSlowWave, 1500, kByHand);
  EXPECT_EQ(CountStarting(PrintPageLines(0), "polyline"), 4);
  s->PrintOnlyMarks = true;
  const Lines lines = PrintPageLines(0);
  EXPECT_EQ(CountStarting(lines, "polyline"), 0);
  EXPECT_EQ(CountStarting(lines, "text 2465 "), 1);
  EXPECT_EQ(CountStarting(lines, "line 2450 "), 1);
}

TEST_F(PrintPaneTest, ChannelLabelsCloserThanFiftyAreLeftOut) {
  // 95 traces in 3800 units: 40 apart. Labels at traces 1, 3, 5, ...: 80 apart.
  s->NrTraces = 95;
  const Lines lines = PrintPageLines(0);
  const int right = 200 - 10;
  auto labelled = [&](int channel) {
    const std::string text = std::to_string(channel);
    const int width = int(text.size()) * 7;
    return std::any_of(lines.begin(), lines.end(), [&](const std::string& l) {
             return l.rfind("text " + std::to_string(right - width) + " ", 0) == 0 && l.substr(l.rfind(' ') + 1) == text;
           });
  };
  EXPECT_TRUE(labelled(17));
  EXPECT_FALSE(labelled(18));
  EXPECT_TRUE(labelled(19));
}

TEST_F(PrintPaneTest, ConnectionsToTracesOffThePaneAreNotDrawn) {
  s->NrTraces = 4;
  s->ConnectionCount = 2;
  s->Connection(1) = ConnectionRecord{18, 1000, 19, 1100, 1};
  s->Connection(2) = ConnectionRecord{20, 2000, 21, 2100, 1};  // trace 5 is not printed
  const Lines lines = PrintPageLines(0);
  EXPECT_TRUE(Has(lines, "line 1700 1925 1850 2875"));
  EXPECT_TRUE(Has(lines, "ellipse 1840 2865 1860 2885"));
  EXPECT_EQ(CountStarting(lines, "line 3200 3825 "), 0);
}

TEST_F(PrintPaneTest, WaveFormsPrintOneTracePerElectrodeInItsCell) {
  s->ElgModeA = 2;
  s->AverageOffset = false;
  for (int row = 0; row < 4000; ++row) s->Signal(row, 17 - 1) = row < 2000 ? 10 : 30;
  const Lines lines = PrintPageLines(0);
  EXPECT_EQ(CountStarting(lines, "polyline 4000 "), 63) << "every cell but the one without electrode";
  // Cells of 750 x 500 units: channel 17's cell is centred at y = 750; the window fills its width.
  // Samples 10 then 30 at amplification 0.01: 0 and 2 units above the centre line.
  EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const std::string& l) {
    return l.rfind("polyline 4000 200 750 ", 0) == 0 && l.substr(l.size() - 8) == " 950 748";
  }));
  s->PrintOnlyMarks = true;
  EXPECT_EQ(CountStarting(PrintPageLines(0), "polyline"), 0);
}

TEST_F(PrintPaneTest, StatisticsBarGivesTheMapsExtentWithThousandsGrouped) {
  s->PaneKindA = 0;
  s->ShowStatistics = true;
  s->ElectrodeDistance = 10;
  s->PlotIsochrones = true;
  const Lines lines = PrintPageLines(0);
  // The bar sits below the pane (3900 high now), 100 high, its texts 30 below its top.
  EXPECT_TRUE(Has(lines, "line 200 4400 6200 4400"));
  EXPECT_TRUE(Has(lines, "text 300 4430 Spike nr: 1"));
  EXPECT_TRUE(Has(lines, "text 1000 4430 Area    : 64  (6,400.0 mm2)"));
  EXPECT_TRUE(Has(lines, "text 1700 4430 X-length  : 8  (80.0 mm)"));
  EXPECT_TRUE(Has(lines, "text 2400 4430 Y-length   : 8  (80.0 mm)"));
  EXPECT_TRUE(Has(lines, "pen 000000 3 copy")) << "isochrones in a wide pen";
}

TEST_F(PrintPaneTest, WaveMapPaneANamesItsWaveAndDifference) {
  s->PaneKindA = 2;
  s->WaveNrA = 3;
  s->WaveDifference = {400, 150, 500};
  const Lines lines = PrintPageLines(0);
  EXPECT_EQ(settings.PaneCaption, "Wave Map[3]:  T = 400");
  EXPECT_TRUE(Has(lines, "text 5200 4640 Tim Diff:  400 msec"));
  s->PaneKindA = 1;
  EXPECT_FALSE(Has(PrintPageLines(0), "text 5200 4640 Tim Diff:  400 msec"));
}

TEST_F(PrintPaneTest, StatusBlockKeepsTheCaptionOfTheLastPrintedMapPaneA) {
  s->ElgFileName = "/data/rec.E00";
  s->PaneKindA = 0;
  s->MapKindA = 1;
  PrintPageLines(0);
  EXPECT_EQ(settings.PaneCaption, "Count Map: ");
  s->PaneKindA = 1;
  const Lines lines = PrintPageLines(1);
  EXPECT_TRUE(Has(lines, "text 250 4560 Count Map: rec.E00"));
  EXPECT_TRUE(Has(lines, "text 2700 4640 Ref  Time:  0 msec"));
  EXPECT_EQ(CountStarting(lines, "text 250 420 title A"), 0);
  EXPECT_TRUE(Has(lines, "text 250 420 title B"));
}

}  // namespace
}  // namespace velmora
