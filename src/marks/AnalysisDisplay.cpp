#include "marks/AnalysisDisplay.h"

#include <string>
#include <vector>

#include "core/AnalysisState.h"
#include "core/Arithmetic.h"
#include "core/Canvas.h"
#include "core/TraceChannel.h"
#include "core/Ui.h"
#include "marks/ElectrogramDrawing.h"
#include "marks/ElectrogramScales.h"
#include "marks/SignalStatistics.h"
#include "marks/TraceLayout.h"

namespace velmora {

namespace {

constexpr int kDetectionHoldOff = 1000;

int Round(double x) { return int(RoundHalfEven(x)); }

}  // namespace

void AnalysisDisplay::DrawAnalysisTraces() {
  AnalysisState& s = state_;
  s.NrTraces = 5;
  TraceLayout::LayoutTraces(s);
  drawing_.ClearPane();
  if (s.ShowTraceBaselines) drawing_.DrawBaselines();
  if (s.ShowTimeGrid) ElectrogramScales(s, canvas_).DrawTimeGrid();
  const int32_t channel = TraceChannel(s, 1);
  if (channel == kNoValue) return;
  SignalStatistics::ChannelStdev(s, ui_, channel);
  drawing_.KeepTakenSamples(true);
  drawing_.DrawTrace(1, channel);
  drawing_.KeepTakenSamples(false);
  MarkDetections();
  drawing_.DrawTraceMarks(1, channel);
  DrawDiffTrace(2, channel);
  const int y = TraceLayout::Centre(s, 1) + Round(s.SignalStdev * 3 * s.Amplification);
  canvas_.SetPen(colours::kRed);
  canvas_.Line(s.TraceLeft, y, s.TraceLeft + s.TraceAreaWidth, y);
}

void AnalysisDisplay::MarkDetections() {
  const AnalysisState& s = state_;
  const std::vector<int32_t>& samples = drawing_.TakenSamples();
  const std::vector<double>& values = drawing_.TakenValues();
  const double threshold = -3 * s.SignalStdev;
  const int top = TraceLayout::BandTop(s, 1);
  const int bottom = TraceLayout::BandBottom(s, 1);
  bool pending = false;
  int32_t last = 0;
  canvas_.SetPen(colours::kRed);
  for (size_t i = 0; i < samples.size(); ++i) {
    if (pending && samples[i] > last + kDetectionHoldOff) pending = false;
    if (pending || !(values[i] < threshold)) continue;
    const int x = s.TraceLeft + Round((samples[i] - s.TraceFirstSample + 1) * s.SampleWidth);
    canvas_.Line(x, top, x, bottom);
    ui_.Log(std::to_string(samples[i]));
    pending = true;
    last = samples[i];
  }
}

void AnalysisDisplay::DrawDiffTrace(int trace, int32_t channel) {
  const AnalysisState& s = state_;
  drawing_.DrawChannelLabel(trace, channel);
  canvas_.SetPen(colours::kBlack);
  const int yc = TraceLayout::Centre(s, trace);
  const int h = s.DiffDistSW / 2;
  std::vector<Point> points;
  points.reserve(size_t(std::max(0, s.CurWindow)) + 1);
  points.push_back({s.TraceLeft, yc - Round(SignalStatistics::SampleOrZero(s, s.CurBegin + 1, channel) * s.Amplification)});
  const int64_t end = int64_t(s.CurBegin) + s.CurWindow;
  for (int64_t sample = s.CurBegin + 1; sample <= end; ++sample) {
    const int32_t d = SignalStatistics::SampleOrZero(s, sample + h, channel) -
                      SignalStatistics::SampleOrZero(s, sample - h, channel);
    points.push_back({Round((sample - s.CurBegin + 1) * s.SampleWidth) + s.TraceLeft, yc - Round(d * s.Amplification)});
  }
  if (!s.PlotOnlyDots) {
    canvas_.Polyline(points);
    return;
  }
  for (size_t i = 1; i < points.size(); ++i) canvas_.Line(points[i].x, points[i].y, points[i].x + 1, points[i].y + 1);
}

}  // namespace velmora
