// The samples an electrogram pane draws, checked against the drawing rule worked out here
// sample by sample: every step-th sample of the window, at y = centre - round((value - offset)
// x amplification), the offset the mean of all the window's samples.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/AnalysisState.h"
#include "core/DataRoot.h"
#include "core/RecordingCanvas.h"
#include "input/E00Reader.h"
#include "marks/ElectrogramDrawing.h"
#include "marks/TraceLayout.h"
#include "support/E00Builder.h"
#include "support/RecordedPolyline.h"
#include "support/ScrambledSignals.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"

namespace velmora {
namespace {

using testing::PolylinePoints;

int RoundHalfToEven(double x) { return int(std::nearbyint(x)); }

class ElectrogramSamplePassTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::FillScrambledSignals(*s);
    s->PaneWidth = 1600;
    s->PaneHeight = 900;
    s->NrTraces = 24;
    s->TraceOrder = 0;
    s->FirstChannel = 17;
    s->SigLength = kStartSignalRows;
    s->AverageOffset = true;
    s->Amplification = 0.05;
    s->ShowTraceBaselines = false;
    s->ShowTimeGrid = false;
  }
  void ShowWindow(int begin, int window) {
    s->CurBegin = begin;
    s->CurWindow = window;
  }
  std::vector<std::vector<Point>> DrawnPolylines() {
    canvas.Clear();
    drawing.DrawElectrograms();
    return testing::RecordedPolylines(canvas.Lines());
  }

  const AnalysisState& State() const { return *s; }
  int32_t Value(int32_t sample, int32_t channel) const {
    const int32_t raw = State().Signal(sample - 1, channel - 1);
    return State().Bipolar == 1 && channel < kChannels ? raw - State().Signal(sample - 1, channel) : raw;
  }
  int Count() const { return State().TraceLastSample - State().TraceFirstSample; }
  // One more step for every 16,000 samples beyond the first 16,000.
  int Step() const { return Count() <= 16000 ? 1 : 1 + (Count() - 1) / 16000; }
  double Mean(int32_t channel) const {
    if (!State().AverageOffset || Count() <= 0) return 0.0;
    int64_t sum = 0;
    for (int32_t sample = State().TraceFirstSample + 1; sample <= State().TraceLastSample; ++sample)
      sum += Value(sample, channel);
    return double(sum) / Count();
  }
  int32_t TakenSample(int j) const { return State().TraceFirstSample + Step() * (j + 1); }
  // The trace as the rule draws it: the raw first sample at the left edge, then the taken ones.
  std::vector<Point> ExpectedPoints(int trace, int32_t channel) const {
    const AnalysisState& st = State();
    const int yc = TraceLayout::Centre(st, trace);
    const double mean = Mean(channel);
    std::vector<Point> points{
        {st.TraceLeft, yc - RoundHalfToEven(st.Signal(st.TraceFirstSample, channel - 1) * st.Amplification)}};
    for (int j = 0; j < Count() / Step(); ++j) {
      const int x = st.TraceLeft + RoundHalfToEven((Step() * (j + 1) + 1) * st.SampleWidth);
      points.push_back({x, yc - RoundHalfToEven((Value(TakenSample(j), channel) - mean) * st.Amplification)});
    }
    return points;
  }
  void ExpectTracesOfChannels(const std::vector<std::pair<int, int32_t>>& traceChannels) {
    const auto polylines = DrawnPolylines();
    ASSERT_EQ(polylines.size(), traceChannels.size());
    for (size_t i = 0; i < polylines.size(); ++i) {
      const auto [trace, channel] = traceChannels[i];
      EXPECT_EQ(polylines[i], ExpectedPoints(trace, channel)) << "trace " << trace << ", channel " << channel;
    }
    EXPECT_DOUBLE_EQ(s->SignalMean, Mean(traceChannels.back().second));
  }
  static std::vector<std::pair<int, int32_t>> Sequential(int32_t firstChannel, int traces) {
    std::vector<std::pair<int, int32_t>> list;
    for (int trace = 1; trace <= traces; ++trace) list.push_back({trace, firstChannel + trace - 1});
    return list;
  }

  std::unique_ptr<AnalysisState> s = std::make_unique<AnalysisState>();
  RecordingCanvas canvas;
  ElectrogramDrawing drawing{*s, canvas};
};

TEST_F(ElectrogramSamplePassTest, ALongWindowDrawsEveryFifthSampleAroundTheWindowMean) {
  ShowWindow(0, 65000);
  ExpectTracesOfChannels(Sequential(17, 24));
  EXPECT_EQ(Step(), 5);
  EXPECT_EQ(DrawnPolylines().at(0).size(), 13001u);
}

TEST_F(ElectrogramSamplePassTest, AFourSecondWindowDrawsEverySample) {
  ShowWindow(10000, 4000);
  ExpectTracesOfChannels(Sequential(17, 24));
  EXPECT_EQ(DrawnPolylines().at(0).size(), 4001u);
}

TEST_F(ElectrogramSamplePassTest, BipolarTracesUpToTheLastChannelWhichIsDrawnRaw) {
  s->Bipolar = 1;
  s->FirstChannel = 233;  // 233 .. 256
  ShowWindow(0, 65000);
  ExpectTracesOfChannels(Sequential(233, 24));
  ShowWindow(1234, 3000);
  ExpectTracesOfChannels(Sequential(233, 24));
}

TEST_F(ElectrogramSamplePassTest, AWindowCutAtTheSignalLength) {
  s->SigLength = 50003;
  ShowWindow(10, 65000);
  ExpectTracesOfChannels(Sequential(17, 24));
  EXPECT_EQ(s->TraceLastSample, 50003);
  EXPECT_EQ(Step(), 4);
}

TEST_F(ElectrogramSamplePassTest, WithoutAverageOffsetTheValuesAreDrawnAsTheyAre) {
  s->AverageOffset = false;
  ShowWindow(0, 65000);
  ExpectTracesOfChannels(Sequential(17, 24));
  EXPECT_EQ(s->SignalMean, 0.0);
}

TEST_F(ElectrogramSamplePassTest, FreeOrderWithGapsRepeatsAndFarApartChannels) {
  s->TraceOrder = 3;
  s->FreeOrderList.fill(0);
  const int32_t order[] = {40, kNoValue, 17, 17, 256, 3, 0};
  std::copy(std::begin(order), std::end(order), s->FreeOrderList.begin());
  s->NrTraces = 7;
  ShowWindow(777, 60000);
  ExpectTracesOfChannels({{1, 40}, {3, 17}, {4, 17}, {5, 256}, {6, 3}});
}

TEST_F(ElectrogramSamplePassTest, ARedrawAfterASampleChangedUsesTheNewOffset) {
  s->NrTraces = 1;
  s->FirstChannel = 20;
  ShowWindow(0, 65000);
  drawing.DrawElectrograms();
  const double before = s->SignalMean;
  s->Signal(30000, 19) += 6500;  // inside the window, far from its ends
  ExpectTracesOfChannels({{1, 20}});
  EXPECT_DOUBLE_EQ(s->SignalMean, before + 0.1);
}

TEST_F(ElectrogramSamplePassTest, ARedrawAfterTheStoreWasRewrittenUsesTheNewOffsets) {
  ShowWindow(0, 65000);
  drawing.DrawElectrograms();
  for (int row = 0; row < kStartSignalRows; ++row)
    for (int column = 16; column < 40; ++column) s->Signals[size_t(row) * kChannels + size_t(column)] = row % 100;
  s->SignalsChanged();
  ExpectTracesOfChannels(Sequential(17, 24));
  EXPECT_DOUBLE_EQ(s->SignalMean, Mean(40));
}

TEST_F(ElectrogramSamplePassTest, ATraceDrawnOnItsOwnKeepsItsTakenSamples) {
  s->Bipolar = 1;
  ShowWindow(0, 65000);
  TraceLayout::LayoutTraces(*s);
  drawing.KeepTakenSamples(true);
  drawing.DrawTrace(1, 20);
  const std::vector<int32_t>& samples = drawing.TakenSamples();
  const std::vector<double>& values = drawing.TakenValues();
  ASSERT_EQ(samples.size(), 13000u);
  ASSERT_EQ(values.size(), 13000u);
  const double mean = Mean(20);
  for (size_t j = 0; j < samples.size(); ++j) {
    ASSERT_EQ(samples[j], TakenSample(int(j)));
    ASSERT_EQ(values[j], Value(samples[j], 20) - mean) << "sample " << samples[j];
  }
  EXPECT_EQ(PolylinePoints(canvas.Lines().back()), ExpectedPoints(1, 20));
  EXPECT_DOUBLE_EQ(s->SignalMean, mean);
}

TEST(ElectrogramSamplePass, AKeptDrawingFollowsANewlyLoadedRecording) {
  testing::TempDir dir;
  DataRoot root(dir.File("root"));
  root.EnsureExists();
  testing::ScriptedUi ui;
  auto s = std::make_unique<AnalysisState>();
  s->DefaultMatrixFileName = dir.Write("grid.txt", testing::NewMatrixText(16, 15));
  s->SmoothElectrograms = false;
  RecordingCanvas canvas;
  ElectrogramDrawing drawing(*s, canvas);
  auto load = [&](const std::string& name, int16_t value) {
    testing::E00Builder recording;
    recording.sample = [value](int, int) { return value; };
    E00Reader(*s, ui, root).Open(dir.Write(name, recording.Bytes()), RecordingOpenOptions{});
    s->PaneWidth = 1070;
    s->PaneHeight = 290;
    s->NrTraces = 1;
    s->TraceOrder = 0;
    s->FirstChannel = 17;
    s->CurBegin = 0;
    s->CurWindow = 900;
    s->AverageOffset = true;
  };
  load("first.E00", 100);
  drawing.DrawElectrograms();
  EXPECT_DOUBLE_EQ(s->SignalMean, 100.0);
  load("second.E00", -300);
  drawing.DrawElectrograms();
  EXPECT_DOUBLE_EQ(s->SignalMean, -300.0);
}

}  // namespace
}  // namespace velmora
