#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include <fmt/format.h>

#include "core/AnalysisState.h"
#include "core/RecordingCanvas.h"
#include "maps/MapColours.h"
#include "marks/ElectrogramDrawing.h"
#include "marks/ElectrogramScales.h"
#include "marks/MarkIntervals.h"
#include "marks/MarkStore.h"
#include "marks/TraceLayout.h"
#include "support/RecordedPolyline.h"

namespace velmora {
namespace {

using testing::PolylinePoints;

class ElectrogramDrawingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    s->PaneWidth = 1070;   // trace area 1000 pixels wide
    s->PaneHeight = 290;   // 240 pixels of bands
    s->NrTraces = 3;
    s->TraceOrder = 0;     // sequential from FirstChannel
    s->FirstChannel = 17;
    s->SigLength = 60000;
    s->CurBegin = 0;
    s->CurWindow = 1000;
    s->ShowTraceBaselines = false;
    s->ShowTimeGrid = false;
    s->AverageOffset = false;
  }
  std::vector<std::string> Matching(const std::string& prefix) const {
    std::vector<std::string> out;
    for (const std::string& line : canvas.Lines())
      if (line.rfind(prefix, 0) == 0) out.push_back(line);
    return out;
  }
  void AddMark(int electrode, int kind, int time, int origin = kByHand) {
    s->PointerChannel = electrode;
    s->MarkOrigin = int16_t(origin);
    MarkStore::AddMarkRecord(*s, time, kind);
  }
  std::unique_ptr<AnalysisState> s = std::make_unique<AnalysisState>();
  RecordingCanvas canvas;
  ElectrogramDrawing drawing{*s, canvas};
};

TEST_F(ElectrogramDrawingTest, LayoutFollowsThePaneSize) {
  TraceLayout::LayoutTraces(*s);
  EXPECT_EQ(s->TraceLeft, 30);
  EXPECT_EQ(s->TraceTop, 10);
  EXPECT_EQ(s->TraceAreaWidth, 1000);
  EXPECT_EQ(s->TraceAreaBottom, 240);
  EXPECT_EQ(s->TraceHeight, 80);
  EXPECT_DOUBLE_EQ(s->SampleWidth, 1.0);
  EXPECT_EQ(TraceLayout::Centre(*s, 1), 50);
  EXPECT_EQ(TraceLayout::Centre(*s, 3), 210);
  EXPECT_EQ(TraceLayout::BandTop(*s, 2), 90);
  EXPECT_EQ(TraceLayout::BandBottom(*s, 2), 170);
}

TEST_F(ElectrogramDrawingTest, NoTracesGiveBandsOf100AndNothingDrawn) {
  s->NrTraces = 0;
  drawing.DrawElectrograms();
  EXPECT_EQ(s->TraceHeight, 100);
  EXPECT_TRUE(Matching("polyline").empty());
}

TEST_F(ElectrogramDrawingTest, AWindowBeyondTheSignalIsCut) {
  s->SigLength = 800;
  drawing.DrawElectrograms();
  EXPECT_EQ(s->TraceLastSample, 800);
  EXPECT_EQ(PolylinePoints(Matching("polyline").at(0)).size(), 801u);
}

TEST_F(ElectrogramDrawingTest, TheFirstPointIsRawAtTraceLeftThenEveryTakenSample) {
  s->NrTraces = 1;
  s->AverageOffset = true;
  s->Amplification = 1.0;
  s->CurBegin = 100;
  s->CurWindow = 4;
  s->PaneWidth = 70 + 40;  // 10 pixels per sample
  s->Signal(100, 16) = 50;  // sample 101
  s->Signal(101, 16) = 10;
  s->Signal(102, 16) = 20;
  s->Signal(103, 16) = 30;
  s->Signal(104, 16) = 40;
  drawing.DrawElectrograms();
  const auto points = PolylinePoints(Matching("polyline").at(0));
  ASSERT_EQ(points.size(), 5u);
  // The first point is sample 101 raw; the offset is the mean of samples 101..104 (rows
  // 100..103) = 27.5, and sample 101 is taken again at x = 30 + round(2 x 10).
  // One trace in 240 pixels: its centre line is at y = 130.
  EXPECT_EQ(points[0], (Point{30, 130 - 50}));
  EXPECT_EQ(points[1], (Point{50, 130 - 22}));  // 22.5 rounds to 22
  EXPECT_EQ(points[2], (Point{60, 130 + 18}));  // 10 - 27.5 = -17.5 rounds to -18
  EXPECT_EQ(points[4].x, 30 + 50);
  EXPECT_DOUBLE_EQ(s->SignalMean, 27.5);
}

TEST_F(ElectrogramDrawingTest, DecimationStartsAbove16000Samples) {
  s->NrTraces = 1;
  s->CurWindow = 16000;
  drawing.DrawElectrograms();
  EXPECT_EQ(PolylinePoints(Matching("polyline").at(0)).size(), 16001u);
  canvas.Clear();
  s->CurWindow = 16001;
  drawing.DrawElectrograms();
  EXPECT_EQ(PolylinePoints(Matching("polyline").at(0)).size(), 1u + 16001 / 2);
}

TEST_F(ElectrogramDrawingTest, AtAChangedRateEveryRowReadIsDrawn) {
  s->NrTraces = 1;
  s->SamplingF = 30;
  s->SamplingFChanged = true;
  s->ImportNrSamples = 60000;
  s->SigLength = 2000000;  // 60,000 rows at 30 Hz, in ms
  s->CurWindow = 2000000;
  drawing.DrawElectrograms();
  EXPECT_EQ(s->TraceLastSample, 60000);
  EXPECT_EQ(s->ImportNrSamples, 60000);  // the import's own count stays
  EXPECT_EQ(PolylinePoints(Matching("polyline").at(0)).back().x, 1030);  // up to the right edge
}

TEST_F(ElectrogramDrawingTest, NonElectrodeChannelsDrawBlackAndElectrodesGreen) {
  s->FirstChannel = 15;  // traces show 15, 16, 17
  drawing.DrawElectrograms();
  std::vector<std::string> pensBeforePolylines;
  std::string pen;
  for (const std::string& line : canvas.Lines()) {
    if (line.rfind("pen", 0) == 0) pen = line;
    if (line.rfind("polyline", 0) == 0) pensBeforePolylines.push_back(pen);
  }
  ASSERT_EQ(pensBeforePolylines.size(), 3u);
  EXPECT_EQ(pensBeforePolylines[0], "pen 000000 1 copy");
  EXPECT_EQ(pensBeforePolylines[1], "pen 000000 1 copy");
  EXPECT_EQ(pensBeforePolylines[2], "pen 008000 1 copy");
  EXPECT_EQ(Matching("text 4 46 15").size(), 1u);  // the label sits at (4, centre - 4)
}

TEST_F(ElectrogramDrawingTest, AHugeTraceCountDrawsOnlyTheChannelsThereAre) {
  s->NrTraces = 200000;  // the prompt has no upper bound
  s->CurWindow = 16000;
  drawing.DrawElectrograms();
  EXPECT_EQ(Matching("polyline").size(), 240u);  // channels 17..256 in sequential order
}

TEST_F(ElectrogramDrawingTest, AnAbsurdSamplingFrequencyNeitherHangsNorOverflows) {
  s->ShowTimeGrid = true;
  s->SamplingF = 2000000000;
  s->SamplingFChanged = true;
  s->CurWindow = 65536;
  drawing.DrawElectrograms();
  EXPECT_LE(Matching("line").size(), 1001u + 24u + 10u);  // at most one grid line per pixel
}

TEST_F(ElectrogramDrawingTest, EmptyTracesDrawNothing) {
  s->FirstChannel = 255;  // 255, 256, then 257 which does not exist
  drawing.DrawElectrograms();
  EXPECT_EQ(Matching("polyline").size(), 2u);
}

TEST_F(ElectrogramDrawingTest, MarksTakeKindColourOriginWidthAndTimeLabel) {
  AddMark(17, kSlowWave, 500, kByHand);
  AddMark(18, kSpike, 600, kAutomatic);
  AddMark(19, kReferenceMark, 700);
  AddMark(17, kSlowWave, 1500);  // outside the window
  s->ReferenceTime = 100;
  drawing.DrawElectrograms();
  const auto& lines = canvas.Lines();
  auto has = [&](const std::string& line) { return std::find(lines.begin(), lines.end(), line) != lines.end(); };
  EXPECT_TRUE(has("pen ff0000 2 copy"));
  EXPECT_TRUE(has("line 530 10 530 90"));
  EXPECT_TRUE(has("text 535 10 400"));
  EXPECT_TRUE(has("pen 0000ff 1 copy"));
  EXPECT_TRUE(has("line 630 90 630 170"));
  EXPECT_TRUE(has("ellipse 726 166 734 174"));
  EXPECT_FALSE(has("text 1535 10 1400"));
}

// In a long window the marks' times would run into one band: a label that would overlap the
// one before it on its trace is left out; the mark itself is still drawn.
TEST_F(ElectrogramDrawingTest, ATimeLabelOverlappingTheOneBeforeOnItsTraceIsLeftOut) {
  AddMark(17, kSlowWave, 600);
  AddMark(17, kSlowWave, 502);  // the store is not in time order
  AddMark(17, kSlowWave, 500);
  AddMark(18, kSlowWave, 502);  // another trace has labels of its own
  drawing.DrawElectrograms();
  const auto& lines = canvas.Lines();
  auto has = [&](const std::string& line) { return std::find(lines.begin(), lines.end(), line) != lines.end(); };
  EXPECT_TRUE(has("text 535 10 500"));
  EXPECT_FALSE(has("text 537 10 502"));
  EXPECT_TRUE(has("line 532 10 532 90"));
  EXPECT_TRUE(has("text 635 10 600"));
  EXPECT_TRUE(has("text 537 90 502"));
}

TEST_F(ElectrogramDrawingTest, TimeLabelsTakeTheirMapCellsColourWhileTwoPanesShowTheMap) {
  AddMark(17, kSlowWave, 500);
  AddMark(18, kSlowWave, 600);
  s->ElectrodeX[16] = 1;
  s->ElectrodeY[16] = 1;
  s->ElectrodeX[17] = 2;
  s->ElectrodeY[17] = 1;
  s->Cell(1, 1).Value = 500;  // the map shows channel 17's mark
  s->Cell(2, 1).Value = 650;  // but another time for channel 18
  s->TwoPanes = true;
  drawing.DrawElectrograms();
  const auto& lines = canvas.Lines();
  const std::string coloured =
      fmt::format("brush {:06x} solid", MapColours::MapColour(MapColours::ColourIndex(*s, 500)));
  const auto label17 = std::find(lines.begin(), lines.end(), "text 535 10 500");
  const auto label18 = std::find(lines.begin(), lines.end(), "text 635 90 600");
  ASSERT_NE(label17, lines.end());
  ASSERT_NE(label18, lines.end());
  EXPECT_EQ(*(label17 - 2), coloured);
  EXPECT_EQ(*(label18 - 2), "brush ffffff solid");
  canvas.Clear();
  s->ShowBackgroundColor = false;
  drawing.DrawElectrograms();
  EXPECT_EQ(std::find(canvas.Lines().begin(), canvas.Lines().end(), coloured), canvas.Lines().end());
}

TEST_F(ElectrogramDrawingTest, HiddenSwitchesLeaveMarksOut) {
  AddMark(17, kSlowWave, 500);
  s->ShowElgMarks = false;
  s->ShowElgTimes = false;
  drawing.DrawElectrograms();
  EXPECT_TRUE(Matching("line 530").empty());
  EXPECT_TRUE(Matching("text 535").empty());
}

TEST_F(ElectrogramDrawingTest, IntervalLabelsFollowTheirSwitches) {
  AddMark(17, kSlowWave, 100);
  AddMark(17, kSlowWave, 400);
  AddMark(18, kSpike, 100);
  AddMark(18, kSpike, 450);
  s->ShowElgIntervals = true;
  drawing.DrawElectrograms();
  // "300" right-aligned 20 pixels left of the mark, 5 above the band bottom.
  EXPECT_EQ(Matching("text " + std::to_string(430 - 20 - canvas.TextWidth("300"))).size(), 1u);
  EXPECT_TRUE(Matching("text " + std::to_string(480 - 20 - canvas.TextWidth("350"))).empty());
  canvas.Clear();
  s->ShowElgIntervals = false;
  s->ShowSpikeIntervals = true;
  drawing.DrawElectrograms();
  EXPECT_TRUE(Matching("text " + std::to_string(430 - 20 - canvas.TextWidth("300"))).empty());
  EXPECT_EQ(Matching("text " + std::to_string(480 - 20 - canvas.TextWidth("350"))).size(), 1u);
}

TEST_F(ElectrogramDrawingTest, AmplitudeBarsComeFromTheRecords) {
  AddMark(17, kSlowWave, 500);
  AmplitudeRecord& a = s->MarkAmplitudes[0];
  a.Electrode = 17;
  a.MaxSample = 450;
  a.MaxValue = 1494;
  a.MinSample = 520;
  a.MinValue = 0;
  s->ShowAmplitudes = true;
  s->Amplification = 0.01;
  drawing.DrawElectrograms();
  const auto& lines = canvas.Lines();
  auto has = [&](const std::string& line) { return std::find(lines.begin(), lines.end(), line) != lines.end(); };
  EXPECT_TRUE(has("line 470 35 490 35"));  // max: x 480, y 50 - round(14.94)
  EXPECT_TRUE(has("line 480 50 560 50"));  // min line to x_min + 10
  EXPECT_TRUE(has("line 480 35 480 50"));
  EXPECT_TRUE(has("text 460 42 2.00 mV"));
}

TEST(ElectrogramScales, ScaleBarFollowsTheRecordingsUnitsPerMillivolt) {
  struct Case {
    double amplification, unitsPerMv, millivolts;
    int pixels;
  };
  const Case cases[] = {
      {0.01, 747, 1.0, 7},           // the start amplification: 7.47 px for 1 mV
      {200.0 / 747, 747, 1.0, 200},  // exactly 200 px per mV: the first pass allows 200
      {0.4, 747, 0.5, 149},          // 298.8 px/mV halved once
      {1.0, 747, 0.25, 187},         // 747 px/mV: 373.5 -> 374, 186.75 -> 187
      {0.01, 1000, 1.0, 10},         // microvolt recordings: 1000 units to the mV
      {0.2, 1000, 1.0, 200},
      {1.0, 1000, 0.125, 125},
  };
  for (const Case& c : cases) {
    const auto bar = ElectrogramScales::ScaleBar(c.amplification, c.unitsPerMv);
    EXPECT_DOUBLE_EQ(bar.millivolts, c.millivolts) << c.amplification << " x " << c.unitsPerMv;
    EXPECT_EQ(bar.pixels, c.pixels) << c.amplification << " x " << c.unitsPerMv;
  }
}

TEST(ElectrogramScales, TimeGridStepsGrowWithTheWindow) {
  EXPECT_EQ(ElectrogramScales::TimeGridStep(100), 10);
  EXPECT_EQ(ElectrogramScales::TimeGridStep(101), 50);
  EXPECT_EQ(ElectrogramScales::TimeGridStep(1000), 100);
  EXPECT_EQ(ElectrogramScales::TimeGridStep(4000), 500);
  EXPECT_EQ(ElectrogramScales::TimeGridStep(10000), 1000);
  EXPECT_EQ(ElectrogramScales::TimeGridStep(10001), 2000);
}

TEST_F(ElectrogramDrawingTest, TimeGridStartsAtTheBeginAndLabelsMilliseconds) {
  s->ShowTimeGrid = true;
  s->CurBegin = 1234;
  s->CurWindow = 1000;
  drawing.DrawElectrograms();
  EXPECT_EQ(Matching("line 30 15 30 240").size(), 1u);
  EXPECT_EQ(Matching("text 16 1 1234").size(), 1u);  // 4 digits: shifted 2 x 7
  EXPECT_EQ(Matching("line 130 15 130 240").size(), 1u);
  EXPECT_EQ(Matching("text 116 1 1334").size(), 1u);
  EXPECT_EQ(Matching("line 1030 15 1030 240").size(), 1u);
  EXPECT_TRUE(Matching("line 1130 15").empty());
  // The scale bar comes with the grid.
  EXPECT_EQ(Matching("text 1010 245 1.000 mV").size(), 1u);
}

TEST_F(ElectrogramDrawingTest, RulerLabelsKeepApartAndInStepInNarrowPanes) {
  s->ShowTimeGrid = true;
  s->CurWindow = 10000;  // a line every 1000 ms
  for (int traceAreaWidth : {200, 400, 1000}) {
    SCOPED_TRACE(::testing::Message() << "trace area " << traceAreaWidth);
    s->PaneWidth = traceAreaWidth + 70;
    canvas.Clear();
    drawing.DrawElectrograms();
    int lines = 0, labels = 0, freeFrom = -1000;
    std::vector<int> times;
    for (const std::string& line : canvas.Lines()) {
      int x = 0, y = 0, y1 = 0, y2 = 0;
      char text[32] = {};
      if (std::sscanf(line.c_str(), "line %d %d %*d %d", &x, &y1, &y2) == 3 && y1 == 15) ++lines;
      if (std::sscanf(line.c_str(), "text %d %d %31s", &x, &y, text) != 3 || y != 1) continue;
      ++labels;
      // A drawn label keeps its place, centred by the digits of its time, and a blank's
      // width from the one before.
      const int time = std::atoi(text);
      times.push_back(time);
      EXPECT_EQ(x, s->TraceLeft + time * traceAreaWidth / 10000 - int(std::to_string(time).size()) / 2 * 7) << line;
      EXPECT_GE(x, freeFrom) << line;
      freeFrom = x + canvas.TextWidth(text) + canvas.TextWidth(" ");
    }
    EXPECT_EQ(lines, 11);  // every grid line is drawn
    EXPECT_GE(labels, 4);
    for (size_t i = 2; i < times.size(); ++i) EXPECT_EQ(times[i] - times[i - 1], times[1] - times[0]);
    EXPECT_EQ(labels == 11, traceAreaWidth >= 400);  // 40 pixels apart leave room for "1000" and a blank
  }
}

TEST_F(ElectrogramDrawingTest, MarkLabelsOfTheFirstTraceKeepBelowTheRulerLabels) {
  AddMark(17, kSlowWave, 500);
  AmplitudeRecord& a = s->MarkAmplitudes[0];
  a.Electrode = 17, a.MaxSample = 450, a.MaxValue = 5000, a.MinSample = 520, a.MinValue = 3000;
  s->ShowAmplitudes = true;
  s->Amplification = 0.01;  // the amplitude label halfway between y 0 and y 20
  drawing.DrawElectrograms();
  EXPECT_EQ(Matching("text 535 10 500").size(), 1u);  // no ruler: the band's top
  EXPECT_EQ(Matching("text 460 10 2.68").size(), 1u);
  s->ShowTimeGrid = true;
  canvas.Clear();
  drawing.DrawElectrograms();
  const int rulerBottom = 1 + canvas.TextHeight("0");
  EXPECT_EQ(Matching(fmt::format("text 535 {} 500", rulerBottom)).size(), 1u);
  EXPECT_EQ(Matching(fmt::format("text 460 {} 2.68", rulerBottom)).size(), 1u);
}

TEST(MarkIntervals, SlowWavesCountOnlySlowWavesAndSpikesCountEverything) {
  auto s = std::make_unique<AnalysisState>();
  auto add = [&](int electrode, int kind, int time) {
    s->PointerChannel = electrode;
    MarkStore::AddMarkRecord(*s, time, kind);
  };
  add(20, kSlowWave, 1000);
  add(20, kSpike, 2500);
  add(20, kSlowWave, 3000);  // previous slow wave at 1000
  add(20, kSpike, 3100);     // previous mark of any kind at 3000
  add(21, kSlowWave, 3000);  // first of its electrode
  s->CurBegin = 0;
  s->CurWindow = 10000;
  MarkIntervals::CalcMarkIntervals(*s);
  EXPECT_EQ(s->MarkAmplitudes[0].Interval, kNoValue);
  EXPECT_EQ(s->MarkAmplitudes[2].Interval, 2000);
  EXPECT_EQ(s->MarkAmplitudes[3].Interval, 100);
  EXPECT_EQ(s->MarkAmplitudes[4].Interval, kNoValue);
  s->CurBegin = 3050;  // marks outside the window get none
  MarkIntervals::CalcMarkIntervals(*s);
  EXPECT_EQ(s->MarkAmplitudes[2].Interval, kNoValue);
  EXPECT_EQ(s->MarkAmplitudes[3].Interval, 100);
}

TEST(MarkIntervals, TheLimitDropsIntervalsOfTheMaximumAndMore) {
  auto s = std::make_unique<AnalysisState>();
  s->PointerChannel = 20;
  MarkStore::AddMarkRecord(*s, 0, kSlowWave);
  MarkStore::AddMarkRecord(*s, 6000, kSlowWave);
  MarkStore::AddMarkRecord(*s, 11999, kSlowWave);
  s->CurWindow = 20000;
  s->LimitIntervals = true;
  s->MaxIntervalValue = 6000;
  MarkIntervals::CalcMarkIntervals(*s);
  EXPECT_EQ(s->MarkAmplitudes[1].Interval, kNoValue);
  EXPECT_EQ(s->MarkAmplitudes[2].Interval, 5999);
}

}  // namespace
}  // namespace velmora
