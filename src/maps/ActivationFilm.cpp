#include "maps/ActivationFilm.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include <fmt/format.h>

#include "core/AnalysisState.h"
#include "maps/MapColours.h"
#include "maps/MapDrawing.h"

namespace velmora {

namespace {

constexpr int kCaptionPadding = 4;

bool Shown(const MarkRecord& mark, int markKind) {
  if (mark.Visible != 1) return false;
  if (markKind != 0) return mark.Kind == markKind;
  return mark.Kind == kSlowWave || mark.Kind == kSpike || mark.Kind == kType3;
}

// The grid's top margin moved down for the caption, and back once the frame is drawn.
class CaptionMargin {
 public:
  CaptionMargin(AnalysisState& state, int top) : state_(state), saved_(state.MapTop) {
    state_.MapTop = std::max(saved_, top);
  }
  ~CaptionMargin() { state_.MapTop = saved_; }
  CaptionMargin(const CaptionMargin&) = delete;
  CaptionMargin& operator=(const CaptionMargin&) = delete;

 private:
  AnalysisState& state_;
  int32_t saved_;
};

}  // namespace

ActivationFilm::Steps ActivationFilm::PlanSteps(const AnalysisState& s) {
  if (s.AnimStep < 1)
    throw std::invalid_argument(fmt::format("The step time must be at least 1 ms (not {})", s.AnimStep));
  // Without a recording there is no end to keep to.
  const bool loaded = s.SigLength > 0;
  const int32_t lastTime = loaded ? s.SigLength - 1 : std::numeric_limits<int32_t>::max();
  Steps steps;
  steps.Step = s.AnimStep;
  steps.Begin = s.AnimBegin;
  if (steps.Begin > lastTime)
    throw std::invalid_argument(fmt::format("The begin time ({} ms) lies past the end of the recording ({} ms)",
                                            steps.Begin, lastTime));
  const bool endUnset = s.AnimEnd == s.NoValue || s.AnimEnd == 0;
  steps.AskedEnd = endUnset ? std::max(s.SigLength - 1, steps.Begin) : s.AnimEnd;
  steps.End = std::min(steps.AskedEnd, lastTime);
  if (steps.End < steps.Begin)
    throw std::invalid_argument(
        fmt::format("The end time ({} ms) lies before the begin time ({} ms)", steps.End, steps.Begin));
  steps.Count = int((int64_t(steps.End) - steps.Begin) / steps.Step + 1);
  return steps;
}

std::string ActivationFilm::Steps::CutNote() const {
  if (!EndCut()) return {};
  return fmt::format("The end time ({} ms) lies past the end of the recording: the film stops there, at {} ms",
                     AskedEnd, End);
}

ActivationFilm::ActivationFilm(const AnalysisState& s, int markKind)
    : steps_(PlanSteps(s)), fade_(s.SWDuration), times_(size_t(kChannels)) {
  for (int number = 1; number <= s.MarkCount; ++number) {
    const MarkRecord& mark = s.Mark(number);
    if (!Shown(mark, markKind) || !MapDrawing::OnGrid(s, mark.Electrode)) continue;
    times_[size_t(mark.Electrode - 1)].push_back(mark.Time);
  }
  for (auto& times : times_) std::sort(times.begin(), times.end());
  const int64_t bandStep = MapColours::BandStep(s);
  colourBase_ = int64_t(steps_.Begin) / bandStep * bandStep;
}

ActivationFilm::Light ActivationFilm::LightAt(int channel, int32_t time) const {
  if (channel < 1 || channel > kChannels) return {};
  const std::vector<int32_t>& times = times_[size_t(channel - 1)];
  // The latest mark before the end of the step lights the cell: in the step at full
  // strength, earlier fading with its age.
  const int64_t stepEnd = int64_t(time) + steps_.Step;
  auto after = std::lower_bound(times.begin(), times.end(), stepEnd,
                                [](int32_t markTime, int64_t end) { return markTime < end; });
  if (after == times.begin()) return {};
  const int32_t markTime = *(after - 1);
  if (markTime >= time) return {1.0, markTime};
  if (fade_ <= 0) return {};
  const double strength = 1.0 - double(int64_t(time) - markTime) / fade_;
  if (strength <= 0) return {};
  return {strength, markTime};
}

Colour ActivationFilm::Faded(Colour colour, double strength) {
  const double s = std::clamp(strength, 0.0, 1.0);
  Colour result = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    const int component = int((colour >> shift) & 0xFF);
    const int mixed = int(std::lround(255 - (255 - component) * s));
    result |= Colour(mixed) << shift;
  }
  return result;
}

std::string ActivationFilm::Caption(int32_t time) { return fmt::format("t = {} ms", time); }

void ActivationFilm::DrawCells(const AnalysisState& s, Canvas& canvas, int32_t time) const {
  for (int channel = 1; channel <= kChannels; ++channel) {
    if (!MapDrawing::OnGrid(s, channel)) continue;
    const Light light = LightAt(channel, time);
    if (light.Strength <= 0) continue;
    const int band = MapColours::ColourIndexFrom(s, light.MarkTime, colourBase_);
    const Colour colour = Faded(MapColours::MapColour(band), light.Strength);
    const int left = (s.ElectrodeX[size_t(channel - 1)] - 1) * s.CellWidth + s.MapLeft;
    const int top = (s.ElectrodeY[size_t(channel - 1)] - 1) * s.CellHeight + s.MapTop;
    canvas.SetBrush(colour, BrushStyle::Solid);
    canvas.SetPen(colour, 1);
    canvas.Rectangle(left, top, left + s.CellWidth, top + s.CellHeight);
  }
}

void ActivationFilm::DrawFrame(AnalysisState& s, Canvas& canvas, int width, int height, int frame,
                               bool withCaption) const {
  const int32_t time = steps_.TimeOf(frame);
  const std::string caption = Caption(time);
  canvas.SetFont(colours::kBlack, FontStyle{});
  const int captionHeight = withCaption ? canvas.TextHeight(caption) + 2 * kCaptionPadding : 0;
  CaptionMargin margin(s, captionHeight);
  MapDrawing::CalcCellSize(s, width, height);
  MapDrawing::ClearMapPane(s, canvas);
  DrawCells(s, canvas, time);
  if (s.ShowGrid) MapDrawing::DrawMapGrid(s, canvas);
  if (!withCaption) return;
  canvas.SetFont(colours::kBlack, FontStyle{});
  canvas.SetBrush(colours::kWhite, BrushStyle::Clear);
  canvas.TextOut(s.MapLeft, kCaptionPadding, caption);
}

}  // namespace velmora
