#include "marks/ElectrogramAnalysis.h"

#include <algorithm>
#include <optional>
#include <utility>

#include <fmt/format.h>

#include "commands/PaneCaptions.h"
#include "commands/PreferenceForm.h"
#include "commands/ValuePrompt.h"
#include "core/AnalysisState.h"
#include "core/Arithmetic.h"
#include "core/Limits.h"
#include "core/SignalUnits.h"
#include "core/Ui.h"

namespace velmora {

namespace {


int Round(double value) { return int(RoundHalfEven(value)); }

}  // namespace

ElectrogramAnalysis::ElectrogramAnalysis(AnalysisState& state, Ui& ui) : state_(state), ui_(ui) {}

void ElectrogramAnalysis::Initialise(int paintWidth) {
  channel_ = state_.FirstChannel;
  pixelsPerSample_ = double(paintWidth - 2 * kTraceLeft) / kSamplesShown;
}

bool ElectrogramAnalysis::StepUp() {
  if (channel_ >= kTopChannel) {
    ui_.Beep();
    return false;
  }
  ++channel_;
  return true;
}

bool ElectrogramAnalysis::StepDown() {
  if (channel_ < 2) {
    ui_.Beep();
    return false;
  }
  --channel_;
  return true;
}

bool ElectrogramAnalysis::Update(const std::string& minDiff, const std::string& searchWidth,
                                 const std::string& diffDist) {
  // The same checks as the preferences window: a search width or diff distance the marking
  // cannot work with is refused, and nothing is stored unless all three can be.
  const PreferenceTexts texts{{"MinDiffValSW", minDiff}, {"SearchWidthSW", searchWidth}, {"DiffDistSW", diffDist}};
  if (const std::optional<PreferenceProblem> problem = PreferenceForm::Store(state_, texts)) {
    ui_.Error(fmt::format("\"{}\" {}.", problem->field->label, problem->reason));
    return false;
  }
  return true;
}

std::string ElectrogramAnalysis::TypeLabel() const {
  if (state_.MarkType[0] == 1) return "Slow Waves";
  if (state_.MarkType[0] == 2) return "Spikes";
  return "";
}

int32_t ElectrogramAnalysis::FirstSample() const { return std::max(state_.CurBegin + 1, 1); }

int32_t ElectrogramAnalysis::LastSample() const {
  const int64_t last = std::min<int64_t>(int64_t(state_.CurBegin) + kSamplesShown, state_.SigLength);
  return int32_t(std::min<int64_t>(last, state_.SignalRows()));
}

int32_t ElectrogramAnalysis::Value(int32_t sample) const { return std::as_const(state_).Signal(sample - 1, channel_ - 1); }

int ElectrogramAnalysis::X(int32_t sample) const {
  return Round((sample - state_.CurBegin + 1) * pixelsPerSample_) + kTraceLeft;
}

void ElectrogramAnalysis::DrawPoints(Canvas& canvas, const std::vector<Point>& points) const {
  if (!state_.PlotOnlyDots) return canvas.Polyline(points);
  for (const Point& p : points) canvas.Line(p.x, p.y, p.x + 1, p.y + 1);
}

void ElectrogramAnalysis::DisplayAlyElectrogram(Canvas& canvas) const {
  canvas.SetBrush(colours::kWhite);
  canvas.SetFont(colours::kBlack, FontStyle{});
  canvas.TextOut(4, 56, std::to_string(channel_));
  canvas.SetPen(colours::kGreen);
  const int32_t first = FirstSample(), last = LastSample();
  if (last < first) return;
  double offset = 0;
  if (state_.AverageOffset) {
    int64_t sum = 0;
    for (int32_t i = first; i <= last; ++i) sum += Value(i);
    offset = double(sum) / (last - first + 1);
  }
  std::vector<Point> points;
  points.reserve(size_t(last - first + 1));
  for (int32_t i = first; i <= last; ++i)
    points.push_back({X(i), kTraceCentre - Round((Value(i) - offset) * state_.Amplification)});
  DrawPoints(canvas, points);
}

// Only samples with both neighbours inside the signal get a differentiated value: the first
// and last h samples of the recording have nothing to be differentiated against.
void ElectrogramAnalysis::DisplayDiffElectrogram(Canvas& canvas) const {
  canvas.SetFont(colours::kBlack, FontStyle{});
  canvas.TextOut(4, 126, " differentiated");
  canvas.SetPen(colours::kBlack);
  const int32_t h = state_.DiffDistSW / 2;
  const int32_t signalEnd = std::min<int32_t>(state_.SigLength, state_.SignalRows());
  const int32_t first = std::max(FirstSample(), 1 + h), last = std::min(LastSample(), signalEnd - h);
  std::vector<Point> points;
  for (int32_t i = first; i <= last; ++i)
    points.push_back({X(i), kDiffCentre - Round(double(Value(i + h) - Value(i - h)) * state_.Amplification)});
  if (!points.empty()) DrawPoints(canvas, points);
  canvas.SetPen(colours::kRed);
  const int y = kDiffCentre - Round(MinimalLevel() * state_.Amplification);
  canvas.Line(1, y, Round(state_.CurWindow * pixelsPerSample_), y);
}

int32_t ElectrogramAnalysis::MinimalLevel() const {
  const int pane = state_.ActivePane == 2 ? 1 : 0;
  switch (state_.MarkType[size_t(pane)]) {
    case 2: return state_.MinDiffValSpike;
    case 3: return state_.MinDiffValType3;
    default: return state_.MinDiffValSW;
  }
}

void ElectrogramAnalysis::DisplayPanel(Canvas& canvas, int paintWidth, int paintHeight) const {
  canvas.SetPen(colours::kWhite);
  canvas.SetBrush(colours::kWhite);
  canvas.Rectangle(0, 0, paintWidth, paintHeight);
  DisplayAlyElectrogram(canvas);
  DisplayDiffElectrogram(canvas);
}

// Outside the signal there is no amplitude to read, so those two read-outs stay bare.
std::array<std::string, 4> ElectrogramAnalysis::ReadOuts(int x) const {
  const int a = x - kTraceLeft;
  const int n = pixelsPerSample_ > 0 ? Round(a / pixelsPerSample_) : 0;
  const int64_t sample = int64_t(state_.CurBegin) + n - 1;
  std::array<std::string, 4> texts{fmt::format(" Sample nr: {}", a), fmt::format(" Time: {}", sample),
                                   " Amplitude: ", " Amplitude: "};
  if (sample < 1 || sample > std::min<int64_t>(state_.SigLength, state_.SignalRows())) return texts;
  const int32_t v = Value(int32_t(sample));
  texts[2] += std::to_string(v);
  texts[3] += PaneCaptions::GroupedTwoDecimals(v / UnitsPerMv(state_)) + " mV";
  return texts;
}

}  // namespace velmora
