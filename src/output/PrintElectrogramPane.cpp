#include "output/PrintElectrogramPane.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "core/AnalysisState.h"
#include "core/Arithmetic.h"
#include "core/TraceChannel.h"
#include "marks/MarkIntervals.h"
#include "output/PrintGrid.h"

namespace velmora {

namespace {

constexpr int kTickLength = 20;
constexpr int kTimeLabelGap = 50;
constexpr int kChannelLabelGap = 10;
constexpr int kMinLabelDistance = 50;  // closer channel labels would run into each other
constexpr int kHandMarkPen = 9, kAutomaticMarkPen = 2;
constexpr int kTimeTextGap = 15;
constexpr int kIntervalGapX = 50, kIntervalGapY = 20;
constexpr int kConnectionEndRadius = 10;
constexpr double kUnitsPerPixel = 5;  // printer units a screen pixel of amplification takes

int Round(double x) { return int(RoundHalfEven(x)); }

// The smallest k for which labelling every k-th tick leaves no two labels touching.
template <typename Tick>
size_t LabelStride(const std::vector<Tick>& ticks) {
  for (size_t stride = 1; stride < ticks.size(); ++stride) {
    bool apart = true;
    for (size_t k = stride; k < ticks.size() && apart; k += stride) apart = ticks[k].left > ticks[k - stride].right;
    if (apart) return stride;
  }
  return std::max<size_t>(ticks.size(), 1);
}

}  // namespace

PrintElectrogramPane::Size PrintElectrogramPane::CalcPrintElgSize(const AnalysisState& s, int printWidth,
                                                                  int paneHeight) {
  Size size;
  if (s.NrTraces < 1 || s.CurWindow < 1 || s.SamplingF < 1 || paneHeight <= PrintLayout::kReserve) return size;
  size.start = s.CurBegin;
  int64_t end = int64_t(s.CurBegin) + s.CurWindow;
  if (s.SamplingFChanged) {
    size.start = int32_t(RoundHalfEven(double(s.CurBegin) * s.SamplingF / 1000.0));
    end = RoundHalfEven(double(end) * s.SamplingF / 1000.0);
  }
  size.start = std::clamp(size.start, 0, s.SignalRows());
  size.end = int32_t(std::clamp<int64_t>(std::min<int64_t>(end, s.SigLength), size.start, s.SignalRows()));
  size.xs = printWidth / (double(s.CurWindow) * s.SamplingF / 1000.0);
  size.bh = double(paneHeight - PrintLayout::kReserve) / s.NrTraces;
  size.plotWidth = Round(s.CurWindow * size.xs);
  size.plotHeight = Round(s.NrTraces * size.bh);
  return size;
}

int PrintElectrogramPane::TimeStep(int32_t window) {
  if (window <= 100) return 10;
  if (window <= 500) return 50;
  if (window <= 1000) return 100;
  if (window <= 2000) return 200;
  if (window <= 10000) return 1000;
  return 2000;
}

int PrintElectrogramPane::TraceCentre(const Size& size, int paneTop, int trace) {
  return paneTop + Round(size.bh / 2) + Round(size.bh * (trace - 1));
}

void PrintElectrogramPane::Print(const PrintPane& pane) {
  size_ = CalcPrintElgSize(state_, layout_.PrintWidth, pane.height);
  if (size_.plotHeight <= 0) return;
  canvas_.SetPen(colours::kBlack, 1);
  canvas_.SetBrush(colours::kWhite, BrushStyle::Clear);
  canvas_.SetFont(colours::kBlack, FontStyle{});
  PrintElgGrid(pane);
  PrintChannelLabels(pane);
  PrintElectrograms(pane);
}

void PrintElectrogramPane::PrintElgGrid(const PrintPane& pane) {
  const AnalysisState& s = state_;
  const int m = PrintLayout::kMargin, bottom = pane.top + size_.plotHeight;
  PrintGrid::PrintRectangle(canvas_, m, pane.top, m + layout_.PrintWidth, bottom);
  const int step = TimeStep(s.CurWindow);
  struct Tick {
    int x, left, right;  // the label's left edge and where the next label may start
    std::string label;
  };
  std::vector<Tick> ticks;
  int64_t sample = size_.start;
  for (int x = m; x < size_.plotWidth + m + 5;) {
    canvas_.Line(x, bottom, x, bottom + kTickLength);
    std::string label = std::to_string(RoundHalfEven(double(sample) / s.SamplingF * 1000.0));
    const int left = x - canvas_.TextWidth(label) / 2;
    ticks.push_back({x, left, left + canvas_.TextWidth(label) + canvas_.TextWidth(" "), std::move(label)});
    sample += step;
    const int next = Round(step * size_.xs + x);
    if (next <= x) break;  // a scale too small to move on would label one place for ever
    x = next;
  }
  // On a narrow page long times would run into each other: every tick is labelled, or every
  // second, third, ..., the same all along the axis, so the labels keep one step.
  const size_t stride = LabelStride(ticks);
  for (size_t k = 0; k < ticks.size(); k += stride)
    canvas_.TextOut(ticks[k].left, bottom + kTimeLabelGap, ticks[k].label);
}

void PrintElectrogramPane::PrintChannelLabels(const PrintPane& pane) {
  int lastY = 0;
  for (int i = 1; i <= state_.NrTraces; ++i) {
    const int32_t c = TraceChannel(state_, i);
    if (c < 1 || c > kChannels) continue;
    const int y = TraceCentre(size_, pane.top, i);
    if (std::abs(y - lastY) <= kMinLabelDistance) continue;
    const std::string label = std::to_string(c);
    canvas_.TextOut(PrintLayout::kMargin - kChannelLabelGap - canvas_.TextWidth(label),
                    y - canvas_.TextHeight(label) / 2, label);
    lastY = y;
  }
}

void PrintElectrogramPane::PrintElectrograms(const PrintPane& pane) {
  AnalysisState& s = state_;
  if (s.ShowElgIntervals || s.ShowSpikeIntervals) MarkIntervals::CalcMarkIntervals(s);
  for (int i = 1; i <= s.NrTraces; ++i) {
    const int32_t c = TraceChannel(s, i);
    if (c < 1 || c > kChannels) continue;
    const int centre = TraceCentre(size_, pane.top, i);
    PrintOneSignal(c, centre);
    PrintMarks(c, centre);
    if (s.ShowElgConnections) PrintConnections(pane, i, c);
  }
}

void PrintElectrogramPane::PrintOneSignal(int32_t channel, int centre) {
  const AnalysisState& s = state_;
  const int32_t count = size_.end - size_.start;
  if (count <= 0 || s.PrintOnlyMarks) return;
  int64_t sum = 0;
  for (int32_t j = size_.start; j < size_.end; ++j) sum += s.Signal(j, channel - 1);
  const double baseline = double(sum) / count;
  points_.resize(size_t(count));
  for (int32_t j = size_.start; j < size_.end; ++j) {
    const double lift = (s.Signal(j, channel - 1) - baseline) * s.Amplification * kUnitsPerPixel;
    points_[size_t(j - size_.start)] = {PrintLayout::kMargin + Round((j - size_.start + 2) * size_.xs),
                                        centre - Round(lift)};
  }
  canvas_.SetPen(colours::kBlack, 1);
  canvas_.Polyline(points_);
}

void PrintElectrogramPane::PrintMarks(int32_t channel, int centre) {
  const AnalysisState& s = state_;
  for (int n = 1; n <= s.MarkCount; ++n) {
    const MarkRecord& mark = s.Mark(n);
    if (mark.Electrode != channel || mark.Kind == kNoValue) continue;
    const int64_t sample = RoundHalfEven(double(mark.Time) * s.SamplingF / 1000.0);
    if (sample < size_.start || sample > size_.end) continue;
    PrintOneMark(mark.Origin, mark.Kind, int32_t(sample), mark.Time, s.MarkAmplitudes[size_t(n - 1)].Interval, centre);
  }
}

void PrintElectrogramPane::PrintOneMark(int origin, int kind, int32_t sample, int32_t time, int32_t interval,
                                        int centre) {
  const AnalysisState& s = state_;
  const int margin = Round(size_.bh / 10);
  const int y1 = Round(centre - size_.bh / 2 + margin), y2 = Round(centre + size_.bh / 2 - margin);
  const int x = PrintLayout::kMargin + Round((sample - size_.start) * size_.xs);
  canvas_.SetPen(colours::kBlack, origin == kByHand ? kHandMarkPen : kAutomaticMarkPen);
  if (s.ShowElgMarks) canvas_.Line(x, y1, x, y2);
  if (s.ShowElgTimes) canvas_.TextOut(x + kTimeTextGap, y1, std::to_string(int64_t(time) - s.ReferenceTime));
  // The reference mark carries a ring, as on the screen.
  if (kind == kReferenceMark && s.ShowElgMarks) canvas_.Ellipse(x - 4, y1 + 4, x + 4, y1 + 12);
  if ((s.ShowElgIntervals || s.ShowSpikeIntervals) && interval != kNoValue) {
    const std::string text = std::to_string(interval);
    canvas_.TextOut(x - kIntervalGapX - canvas_.TextWidth(text), y2 - kIntervalGapY - canvas_.TextHeight(text), text);
  }
  canvas_.SetPen(colours::kBlack, kAutomaticMarkPen);
}

void PrintElectrogramPane::PrintConnections(const PrintPane& pane, int trace, int32_t channel) {
  const AnalysisState& s = state_;
  auto timeX = [&](int32_t time) { return PrintLayout::kMargin + Round((double(time) - s.CurBegin) * size_.xs); };
  canvas_.SetPen(colours::kBlack, 1);
  for (int n = 1; n <= s.ConnectionCount; ++n) {
    const ConnectionRecord& r = s.Connection(n);
    if (r.FromChannel != channel) continue;
    // A connection to a channel the pane does not show would end on another part of the page.
    const int target = trace + (r.ToChannel - channel);
    if (target < 1 || target > s.NrTraces) continue;
    const int x2 = timeX(r.ToTime), y2 = TraceCentre(size_, pane.top, target);
    canvas_.Line(timeX(r.FromTime), TraceCentre(size_, pane.top, trace), x2, y2);
    canvas_.Ellipse(x2 - kConnectionEndRadius, y2 - kConnectionEndRadius, x2 + kConnectionEndRadius,
                    y2 + kConnectionEndRadius);
  }
}

}  // namespace velmora
