// Windows whose pixel columns each cover many samples: each column draws the span of its
// samples, worked out here sample by sample; shorter windows keep the decimated polyline.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "core/AnalysisState.h"
#include "core/RecordingCanvas.h"
#include "marks/ElectrogramDrawing.h"
#include "marks/TraceLayout.h"
#include "support/RecordedPolyline.h"
#include "support/ScrambledSignals.h"

namespace velmora {
namespace {

using testing::PolylinePoints;

int RoundHalfToEven(double x) { return int(std::nearbyint(x)); }

class TraceColumnSpansTest : public ::testing::Test {
 protected:
  void SetUp() override {
    s->PaneHeight = 900;
    s->NrTraces = 4;
    s->TraceOrder = 0;
    s->FirstChannel = 17;
    s->SigLength = kStartSignalRows;
    s->AverageOffset = true;
    s->Amplification = 0.05;
    s->ShowTraceBaselines = false;
    s->ShowTimeGrid = false;
  }
  void Show(int traceAreaWidth, int begin, int window) {
    s->PaneWidth = traceAreaWidth + 70;
    s->CurBegin = begin;
    s->CurWindow = window;
  }
  std::vector<std::vector<Point>> DrawnPolylines() {
    canvas.Clear();
    drawing.DrawElectrograms();
    return testing::RecordedPolylines(canvas.Lines());
  }
  int32_t Value(int32_t sample, int32_t channel) const {
    const AnalysisState& st = *s;
    const int32_t raw = st.Signal(sample - 1, channel - 1);
    return st.Bipolar == 1 && channel < kChannels ? raw - st.Signal(sample - 1, channel) : raw;
  }
  double Mean(int32_t channel) const {
    int64_t sum = 0;
    for (int32_t sample = s->TraceFirstSample + 1; sample <= s->TraceLastSample; ++sample) sum += Value(sample, channel);
    return double(sum) / (s->TraceLastSample - s->TraceFirstSample);
  }
  int X(int32_t sample) const {
    return s->TraceLeft + RoundHalfToEven((sample - s->TraceFirstSample + 1) * s->SampleWidth);
  }
  // Per column from left to right, the highest and lowest y its samples reach.
  std::vector<std::pair<int, std::pair<int, int>>> ExpectedColumns(int trace, int32_t channel) const {
    const int yc = TraceLayout::Centre(*s, trace);
    const double mean = Mean(channel);
    std::vector<std::pair<int, std::pair<int, int>>> columns;
    for (int32_t sample = s->TraceFirstSample + 1; sample <= s->TraceLastSample; ++sample) {
      const int y = yc - RoundHalfToEven((Value(sample, channel) - mean) * s->Amplification);
      if (columns.empty() || columns.back().first != X(sample)) columns.push_back({X(sample), {y, y}});
      auto& [top, bottom] = columns.back().second;
      top = std::min(top, y);
      bottom = std::max(bottom, y);
    }
    return columns;
  }
  void ExpectSpans(const std::vector<Point>& points, int trace, int32_t channel) const {
    const auto columns = ExpectedColumns(trace, channel);
    size_t p = 1;  // after the raw first point
    for (const auto& [x, extent] : columns) {
      ASSERT_LT(p, points.size()) << "column " << x;
      ASSERT_EQ(points[p].x, x);
      std::vector<int> ys;
      for (; p < points.size() && points[p].x == x; ++p) ys.push_back(points[p].y);
      const auto [top, bottom] = std::minmax_element(ys.begin(), ys.end());
      ASSERT_EQ(*top, extent.first) << "column " << x << " of trace " << trace;
      ASSERT_EQ(*bottom, extent.second) << "column " << x << " of trace " << trace;
      ASSERT_LE(ys.size(), 2u);
    }
    EXPECT_EQ(p, points.size());
  }

  std::unique_ptr<AnalysisState> s = std::make_unique<AnalysisState>();
  RecordingCanvas canvas;
  ElectrogramDrawing drawing{*s, canvas};
};

TEST_F(TraceColumnSpansTest, UpTo128SamplesAColumnTheDecimatedPolylineStays) {
  testing::FillScrambledSignals(*s);
  Show(512, 0, kStartSignalRows);  // 127.998 samples a column
  const auto polylines = DrawnPolylines();
  ASSERT_EQ(polylines.size(), 4u);
  const int yc = TraceLayout::Centre(*s, 1);
  const double mean = Mean(17);
  ASSERT_EQ(polylines[0].size(), 1u + kStartSignalRows / 5);
  for (size_t j = 1; j < polylines[0].size(); ++j) {
    const int32_t sample = 5 * int32_t(j);
    ASSERT_EQ(polylines[0][j], (Point{s->TraceLeft + RoundHalfToEven((sample + 1) * s->SampleWidth),
                                      yc - RoundHalfToEven((Value(sample, 17) - mean) * s->Amplification)}))
        << "taken sample " << sample;
  }
}

TEST_F(TraceColumnSpansTest, ColumnsOfManySamplesDrawTheirSpans) {
  testing::FillScrambledSignals(*s);
  struct Case {
    int width, begin, window, bipolar;
  };
  for (const Case c : {Case{511, 0, kStartSignalRows, 0}, Case{100, 13, 64001, 0}, Case{333, 777, 60000, 1}}) {
    SCOPED_TRACE(::testing::Message() << c.width << " pixels, " << c.begin << " + " << c.window);
    s->Bipolar = c.bipolar;
    Show(c.width, c.begin, c.window);
    const auto polylines = DrawnPolylines();
    ASSERT_EQ(polylines.size(), 4u);
    for (int trace = 1; trace <= 4; ++trace) {
      EXPECT_EQ(polylines[size_t(trace - 1)][0].x, s->TraceLeft);
      ExpectSpans(polylines[size_t(trace - 1)], trace, 16 + trace);
    }
    EXPECT_DOUBLE_EQ(s->SignalMean, Mean(20));
  }
}

// A spike of one sample, and the sharp trough of a slow wave, between the samples the
// decimation takes (every fifth); the drawing was made once before they were written, so the
// spans kept from it must give way to the new samples.
TEST_F(TraceColumnSpansTest, ANarrowSpikeOrTroughReachesItsPixelRow) {
  s->AverageOffset = false;
  s->NrTraces = 1;
  Show(100, 0, kStartSignalRows);
  struct Case {
    const char* name;
    int32_t peakSample;
    std::vector<int32_t> values;  // from the peak sample on
  };
  for (const Case& c : {Case{"spike", 33334, {2000}}, Case{"trough", 40002, {-1500, -1200, -900, -600, -300}}}) {
    SCOPED_TRACE(c.name);
    std::fill(s->Signals.begin(), s->Signals.end(), 0);
    s->SignalsChanged();
    DrawnPolylines();
    for (size_t i = 0; i < c.values.size(); ++i) s->Signal(c.peakSample - 1 + int(i), 16) = c.values[i];
    const auto polyline = DrawnPolylines().at(0);
    const Point peak{X(c.peakSample), TraceLayout::Centre(*s, 1) - RoundHalfToEven(c.values[0] * s->Amplification)};
    EXPECT_NE(std::find(polyline.begin(), polyline.end(), peak), polyline.end());
  }
}

TEST_F(TraceColumnSpansTest, ATraceThatLooksAtItsTakenSamplesKeepsTheDecimation) {
  testing::FillScrambledSignals(*s);
  Show(100, 0, kStartSignalRows);
  TraceLayout::LayoutTraces(*s);
  drawing.KeepTakenSamples(true);
  drawing.DrawTrace(1, 17);
  EXPECT_EQ(drawing.TakenSamples().size(), size_t(kStartSignalRows / 5));
  EXPECT_EQ(PolylinePoints(canvas.Lines().back()).size(), 1u + kStartSignalRows / 5);
}

}  // namespace
}  // namespace velmora
