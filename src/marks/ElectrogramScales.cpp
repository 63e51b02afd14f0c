#include "marks/ElectrogramScales.h"

#include <algorithm>
#include <limits>
#include <string>

#include <fmt/format.h>

#include "core/AnalysisState.h"
#include "core/Arithmetic.h"
#include "core/Canvas.h"
#include "core/SignalUnits.h"

namespace velmora {

namespace {


int Round(double x) { return int(RoundHalfEven(x)); }

// Lines a window longer than 100 s gets at most (short of an hour-long step).
constexpr int kMaxLinesOfLongSteps = 50;

int DigitCount(int64_t n) { return int(std::to_string(n < 0 ? -n : n).size()); }

// Calls visit(index, x, sample) for the lines of the time grid from the window's begin, until
// it returns false. The x advances as a real number and is rounded for drawing.
template <typename Visit>
void ForEachGridLine(const AnalysisState& s, int step, Visit visit) {
  int64_t n = RoundHalfEven(s.CurBegin / 1000.0 * s.SamplingF);
  const double advance = step * s.SampleWidth;
  // Lines closer than a pixel add nothing but time: a pane never gets more lines than pixels.
  int linesLeft = std::max(1, s.TraceAreaWidth + 1);
  int index = 0;
  for (double x = s.TraceLeft; x <= s.TraceLeft + s.TraceAreaWidth && linesLeft-- > 0; x += advance, n += step) {
    if (!visit(index++, Round(x), n)) return;
    if (!(advance > 0)) return;  // a pane too narrow to advance in draws its first line only
  }
}

}  // namespace

int ElectrogramScales::TimeGridStep(int w) {
  if (w <= 100) return 10;
  if (w <= 500) return 50;
  if (w <= 1000) return 100;
  if (w <= 5000) return 500;
  if (w <= 10000) return 1000;
  if (w <= kMaxLinesOfLongSteps * 2000) return 2000;
  // Windows of minutes: 2-second lines would lie closer than a pixel and paint the pane, so
  // the step grows in round times, seconds to minutes, to keep about as many lines.
  for (const int step : {5000, 10000, 20000, 30000, 60000, 120000, 300000, 600000, 1200000, 1800000})
    if (w <= int64_t(kMaxLinesOfLongSteps) * step) return step;
  return 3600000;
}

void ElectrogramScales::DrawTimeGrid() {
  const AnalysisState& s = state_;
  if (s.SamplingF <= 0) return;
  const int step = GridStep();
  canvas_.SetBrush(colours::kWhite);
  canvas_.SetPen(colours::kLime);
  canvas_.SetFont(colours::kGreen, FontStyle{});
  const int stride = LabelStride(step);
  ForEachGridLine(s, step, [&](int index, int x, int64_t n) {
    if (index % stride == 0) canvas_.TextOut(LabelX(x, n), kRulerLabelTop, LabelText(n));
    canvas_.Line(x, kGridLineTop, x, s.TraceAreaBottom);
    return true;
  });
}

void ElectrogramScales::DrawAnnotations() {
  const AnalysisState& s = state_;
  if (s.Acquisition.annotations.empty() || s.SamplingF <= 0 || !(s.SampleWidth > 0)) return;
  const int64_t from = s.CurBegin, to = int64_t(s.CurBegin) + std::max(1, s.CurWindow);
  canvas_.SetPen(colours::kGray);
  canvas_.SetBrush(colours::kWhite);
  canvas_.SetFont(colours::kGray, FontStyle{});
  const int tickBottom = kGridLineTop + RulerBottom();
  for (const AcquisitionAnnotation& annotation : s.Acquisition.annotations) {
    if (annotation.timeMs < from || annotation.timeMs > to) continue;
    const int x = s.TraceLeft +
                  Round((double(annotation.timeMs) * s.SamplingF / 1000.0 - s.TraceFirstSample) * s.SampleWidth);
    canvas_.Line(x, kGridLineTop, x, tickBottom);
    canvas_.TextOut(x + 3, kGridLineTop, annotation.text);
  }
}

int ElectrogramScales::GridStep() const {
  return TimeGridStep(Round(std::min(state_.CurWindow / 1000.0 * state_.SamplingF, 2.0e9)));
}

std::string ElectrogramScales::LabelText(int64_t sample) const {
  return std::to_string(RoundHalfEven(double(sample) / state_.SamplingF * 1000.0));
}

// Centred by the digits of the sample number, which the label's time has at 1000 Hz.
int ElectrogramScales::LabelX(int lineX, int64_t sample) { return lineX - (DigitCount(sample) / 2) * 7; }

// Labels go on every stride-th line: the fewest lines apart that keep every label a blank's
// width from the one before it, so that they keep an even rhythm however narrow the pane.
// A stride longer than the grid leaves the first label alone, which always fits.
int ElectrogramScales::LabelStride(int step) {
  const int blank = canvas_.TextWidth(" ");
  for (int stride = 1;; ++stride) {
    int64_t freeFrom = std::numeric_limits<int64_t>::min();
    bool fits = true;
    ForEachGridLine(state_, step, [&](int index, int x, int64_t n) {
      if (index % stride != 0) return true;
      const int labelX = LabelX(x, n);
      fits = labelX >= freeFrom;
      freeFrom = int64_t(labelX) + canvas_.TextWidth(LabelText(n)) + blank;
      return fits;
    });
    if (fits) return stride;
  }
}

int ElectrogramScales::RulerBottom() const { return kRulerLabelTop + canvas_.TextHeight("0"); }

ElectrogramScales::Bar ElectrogramScales::ScaleBar(double amplification, double unitsPerMv) {
  const double pixelsPerMillivolt = amplification * unitsPerMv;
  double millivolts = 1.0;
  int pixels = Round(pixelsPerMillivolt * millivolts);
  // The first pass allows 200 pixels, later passes stop below 200.
  if (pixels >= 201) {
    do {
      millivolts /= 2;
      pixels = Round(pixelsPerMillivolt * millivolts);
    } while (pixels >= 200);
  }
  return {millivolts, pixels};
}

void ElectrogramScales::DrawScaleBar() {
  const AnalysisState& s = state_;
  const Bar bar = ScaleBar(s.Amplification, UnitsPerMv(s));
  const int tick = Round(s.Amplification * UnitsPerMv(s) * bar.millivolts / 5);
  const int x = s.TraceAreaWidth + 50;
  const int y = s.TraceAreaBottom;
  canvas_.SetPen(colours::kBlack);
  canvas_.Line(x, y, x, y - bar.pixels);
  canvas_.Line(x - 5, y, x + 5, y);
  canvas_.Line(x - 5, y - bar.pixels, x + 5, y - bar.pixels);
  for (int j = 1; j <= 4; ++j) canvas_.Line(x - 5, y - j * tick, x, y - j * tick);
  canvas_.SetBrush(colours::kWhite);
  canvas_.SetFont(colours::kBlack, FontStyle{});
  canvas_.TextOut(s.TraceAreaWidth + 10, y + 5, fmt::format("{:.3f} mV", bar.millivolts));
}

}  // namespace velmora
