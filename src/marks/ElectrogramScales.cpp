#include "marks/ElectrogramScales.h"

#include <algorithm>
#include <limits>
#include <string>

#include <fmt/format.h>

#include "core/AnalysisState.h"
#include "core/Arithmetic.h"
#include "core/Canvas.h"

namespace velmora {

namespace {

constexpr double kUnitsPerMillivolt = 747.0;

int Round(double x) { return int(RoundHalfEven(x)); }

int DigitCount(int64_t n) { return int(std::to_string(n < 0 ? -n : n).size()); }

}  // namespace

int ElectrogramScales::TimeGridStep(int w) {
  if (w <= 100) return 10;
  if (w <= 500) return 50;
  if (w <= 1000) return 100;
  if (w <= 5000) return 500;
  if (w <= 10000) return 1000;
  return 2000;
}

void ElectrogramScales::DrawTimeGrid() {
  const AnalysisState& s = state_;
  if (s.SamplingF <= 0) return;
  const double windowSamples = std::min(s.CurWindow / 1000.0 * s.SamplingF, 2.0e9);
  const int step = TimeGridStep(Round(windowSamples));
  canvas_.SetBrush(colours::kWhite);
  canvas_.SetPen(colours::kLime);
  canvas_.SetFont(colours::kGreen, FontStyle{});
  int64_t n = RoundHalfEven(s.CurBegin / 1000.0 * s.SamplingF);
  const double advance = step * s.SampleWidth;
  // A label is left out where it would run into the one drawn before it: a blank apart at least.
  const int blank = canvas_.TextWidth(" ");
  int64_t labelsFreeFrom = std::numeric_limits<int64_t>::min();
  // Lines closer than a pixel add nothing but time: a pane never gets more lines than pixels.
  int linesLeft = std::max(1, s.TraceAreaWidth + 1);
  for (double x = s.TraceLeft; x <= s.TraceLeft + s.TraceAreaWidth && linesLeft-- > 0; x += advance, n += step) {
    const int xi = Round(x);
    const int labelX = xi - (DigitCount(n) / 2) * 7;
    if (labelX >= labelsFreeFrom) {
      const std::string label = std::to_string(RoundHalfEven(double(n) / s.SamplingF * 1000.0));
      canvas_.TextOut(labelX, kRulerLabelTop, label);
      labelsFreeFrom = int64_t(labelX) + canvas_.TextWidth(label) + blank;
    }
    canvas_.Line(xi, kGridLineTop, xi, s.TraceAreaBottom);
    if (!(advance > 0)) break;  // a pane too narrow to advance in draws its first line only
  }
}

int ElectrogramScales::RulerBottom() const { return kRulerLabelTop + canvas_.TextHeight("0"); }

ElectrogramScales::Bar ElectrogramScales::ScaleBar(double amplification) {
  const double pixelsPerMillivolt = amplification * kUnitsPerMillivolt;
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
  const Bar bar = ScaleBar(s.Amplification);
  const int tick = Round(s.Amplification * kUnitsPerMillivolt * bar.millivolts / 5);
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
