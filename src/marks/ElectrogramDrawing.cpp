#include "marks/ElectrogramDrawing.h"

#include <algorithm>
#include <limits>
#include <string>
#include <utility>

#include <fmt/format.h>

#include "core/AnalysisState.h"
#include "core/Arithmetic.h"
#include "core/SignalUnits.h"
#include "core/TraceChannel.h"
#include "maps/ConnectionDrawing.h"
#include "maps/MapColours.h"
#include "marks/ElectrogramScales.h"
#include "marks/MarkIntervals.h"
#include "marks/TraceLayout.h"
#include "marks/TracePoints.h"

namespace velmora {

namespace {

constexpr int kMaxPointsBeforeDecimation = 16000;

int Round(double x) { return int(RoundHalfEven(x)); }

int PixelRound(double x) { return TracePoints::PixelRound(x); }

Colour MarkColour(int kind) {
  switch (kind) {
    case kReferenceMark: return colours::kBlack;
    case kSlowWave: return colours::kRed;
    case kSpike: return colours::kBlue;
    case kType3: return colours::kFuchsia;
    default: return colours::kBlack;
  }
}

}  // namespace

ElectrogramDrawing::ElectrogramDrawing(AnalysisState& state, Canvas& canvas)
    : state_(state), canvas_(canvas), windowSums_(state), spans_(state), markStart_(kChannels + 2, 0) {
  points_.reserve(kMaxPointsBeforeDecimation + 2);
}

void ElectrogramDrawing::DrawElectrograms() {
  AnalysisState& s = state_;
  TraceLayout::LayoutTraces(s);
  ClearPane();
  if (s.ShowTraceBaselines) DrawBaselines();
  ElectrogramScales scales(s, canvas_);
  if (s.ShowTimeGrid) scales.DrawTimeGrid();
  if (s.ShowTraceBaselines || s.ShowTimeGrid) scales.DrawScaleBar();
  scales.DrawAnnotations();
  if (s.ShowElgIntervals || s.ShowSpikeIntervals) MarkIntervals::CalcMarkIntervals(s);
  IndexMarksByElectrode();
  PrepareTraces();
  for (int i = 1; i <= s.NrTraces; ++i) {
    const int32_t channel = traceChannels_[size_t(i - 1)];
    DrawTrace(i, channel);
    DrawTraceMarks(i, channel);
    if (s.ShowAmplitudes) DrawAmplitudes(i, channel);
    if (s.ShowElgConnections && i < s.NrTraces) ConnectionDrawing::DrawConnections(s, canvas_, i, channel);
  }
  traceOffsets_.clear();
}


int ElectrogramDrawing::DecimationStep() const {
  int step = 1;
  for (int n = state_.TraceLastSample - state_.TraceFirstSample; n > kMaxPointsBeforeDecimation;
       n -= kMaxPointsBeforeDecimation)
    ++step;
  return step;
}

// A window whose columns each cover many samples is drawn as their spans, except for a caller
// that looks at the samples taken (they must stay the decimated ones it always saw).
bool ElectrogramDrawing::DrawsSpans() const {
  return !keepTaken_ && TraceColumnSpans::Wanted(state_.SampleWidth, DecimationStep());
}

void ElectrogramDrawing::PrepareTraces() {
  const AnalysisState& s = state_;
  const size_t traces = size_t(std::max(0, s.NrTraces));
  traceChannels_.resize(traces);
  activeTraces_.clear();
  valueSlot_.assign(traces, -1);
  for (size_t i = 0; i < traces; ++i) {
    traceChannels_[i] = TraceChannel(s, int(i) + 1);
    if (traceChannels_[i] == kNoValue) continue;
    valueSlot_[i] = int(activeTraces_.size());
    activeTraces_.push_back(int(i));
  }
  PrepareTakenX();
  if (DrawsSpans()) {
    sources_.clear();
    for (int i : activeTraces_) sources_.push_back(TraceSource(traceChannels_[size_t(i)]));
    spans_.Compute(sources_);
    PrepareOffsets();
    return;
  }
  // Only traces that show a channel keep values: at most 256, however many traces are asked for.
  traceValues_.resize(activeTraces_.size() * size_t(takenPerTrace_));
  ReadTakenRows();
  PrepareOffsets();
}

// The window's samples: TraceFirstSample + 1 .. TraceLastSample.
int ElectrogramDrawing::WindowCount() const {
  return std::max(0, state_.TraceLastSample - state_.TraceFirstSample);
}

// The column a bipolar trace subtracts, -1 for none: the last channel has no right-hand
// neighbour to subtract.
int ElectrogramDrawing::Neighbour(int column) const {
  return state_.Bipolar == 1 && column + 1 < kChannels ? column + 1 : -1;
}

// Only the rows a trace takes are read: every DecimationStep()-th of the window.
void ElectrogramDrawing::ReadTakenRows() {
  sources_.clear();
  for (int i : activeTraces_) sources_.push_back(TraceSource(traceChannels_[size_t(i)]));
  ReadTaken(sources_, traceValues_.data());
}

TraceSampleGather::Source ElectrogramDrawing::TraceSource(int32_t channel) const {
  return {channel - 1, Neighbour(channel - 1)};
}

// Taken sample j is TraceFirstSample + step x (j + 1), in row TraceFirstSample + step x (j + 1) - 1.
void ElectrogramDrawing::ReadTaken(const std::vector<TraceSampleGather::Source>& sources, int32_t* values) const {
  const int step = DecimationStep();
  TraceSampleGather::Gather(state_.Signals.data(), state_.TraceFirstSample + step - 1, step, takenPerTrace_, sources,
                            values);
}

void ElectrogramDrawing::PrepareOffsets() {
  const AnalysisState& s = state_;
  traceOffsets_.assign(traceChannels_.size(), 0.0);
  const int count = WindowCount();
  if (!s.AverageOffset || count <= 0 || activeTraces_.empty()) return;
  SignalWindowSums::Columns columns;
  for (int i : activeTraces_) AddTraceColumns(traceChannels_[size_t(i)] - 1, columns);
  const auto& sums = windowSums_.Sums(s.TraceFirstSample, s.TraceLastSample, columns);
  for (int i : activeTraces_) traceOffsets_[size_t(i)] = double(TraceSum(sums, traceChannels_[size_t(i)] - 1)) / count;
}

void ElectrogramDrawing::AddTraceColumns(int column, SignalWindowSums::Columns& columns) const {
  columns.set(size_t(column));
  if (Neighbour(column) >= 0) columns.set(size_t(Neighbour(column)));
}

// A trace's sum over the window: its channel's, less its neighbour's for a bipolar trace.
int64_t ElectrogramDrawing::TraceSum(const std::array<int64_t, kChannels>& sums, int column) const {
  const int neighbour = Neighbour(column);
  return neighbour >= 0 ? sums[size_t(column)] - sums[size_t(neighbour)] : sums[size_t(column)];
}

void ElectrogramDrawing::ClearPane() {
  canvas_.SetPen(colours::kWhite);
  canvas_.SetBrush(colours::kWhite);
  canvas_.Rectangle(0, 0, state_.PaneWidth, state_.PaneHeight);
}

void ElectrogramDrawing::DrawBaselines() {
  const AnalysisState& s = state_;
  canvas_.SetPen(colours::kLime);
  for (int i = 1; i <= s.NrTraces; ++i) {
    const int y = TraceLayout::Centre(s, i);
    canvas_.Line(s.TraceLeft, y, s.TraceLeft + s.TraceAreaWidth, y);
  }
}

void ElectrogramDrawing::DrawChannelLabel(int trace, int32_t channel) {
  canvas_.SetBrush(colours::kWhite);
  canvas_.SetFont(colours::kGreen, FontStyle{});
  canvas_.TextOut(4, TraceLayout::Centre(state_, trace) - 4, std::to_string(channel));
}

double ElectrogramDrawing::Offset(int32_t channel) {
  const AnalysisState& s = state_;
  const int count = WindowCount();
  if (!s.AverageOffset || count <= 0) return 0.0;
  SignalWindowSums::Columns columns;
  AddTraceColumns(channel - 1, columns);
  return double(TraceSum(windowSums_.Sums(s.TraceFirstSample, s.TraceLastSample, columns), channel - 1)) / count;
}

void ElectrogramDrawing::DrawTrace(int trace, int32_t channel) {
  takenSamples_.clear();
  takenValues_.clear();
  if (channel == kNoValue) return;
  AnalysisState& s = state_;
  DrawChannelLabel(trace, channel);
  canvas_.SetPen(s.ChannelValid[size_t(channel - 1)] == kNoValue ? colours::kBlack : colours::kGreen);
  // A full pane has read its traces' values already; a single trace reads its own here.
  const bool prepared =
      trace >= 1 && size_t(trace) <= traceOffsets_.size() && valueSlot_[size_t(trace - 1)] >= 0;
  const bool spans = DrawsSpans();
  if (!prepared && spans) {
    spans_.Compute({TraceSource(channel)});
    singleOffset_ = Offset(channel);
  }
  if (!prepared && !spans) ReadSingleTrace(channel);
  const double offset = prepared ? traceOffsets_[size_t(trace - 1)] : singleOffset_;
  const int yc = TraceLayout::Centre(s, trace);
  // A window beginning past the recording's end starts its trace at zero.
  const int firstRow = std::max(s.TraceFirstSample, 0);
  const int32_t first = firstRow < s.SignalRows() ? std::as_const(s).Signal(firstRow, channel - 1) : 0;
  points_.assign(1, Point{s.TraceLeft, yc - PixelRound(first * s.Amplification)});
  if (spans) {
    spans_.Place(prepared ? size_t(valueSlot_[size_t(trace - 1)]) : 0, offset, yc, points_);
  } else {
    const int32_t* values =
        prepared ? traceValues_.data() + size_t(valueSlot_[size_t(trace - 1)]) * size_t(takenPerTrace_)
                 : singleValues_.data();
    points_.resize(size_t(takenPerTrace_) + 1);
    TracePoints::Place(values, takenX_.data(), takenPerTrace_, offset, s.Amplification, yc, points_.data() + 1);
    if (keepTaken_) KeepTaken(values, offset);
  }
  DrawPoints();
  s.SignalMean = offset;
}

void ElectrogramDrawing::KeepTaken(const int32_t* values, double offset) {
  const int step = DecimationStep();
  for (int j = 0; j < takenPerTrace_; ++j) {
    takenSamples_.push_back(state_.TraceFirstSample + step * (j + 1));
    takenValues_.push_back(values[j] - offset);
  }
}

void ElectrogramDrawing::ReadSingleTrace(int32_t channel) {
  PrepareTakenX();
  singleValues_.resize(size_t(takenPerTrace_));
  ReadTaken({TraceSource(channel)}, singleValues_.data());
  singleOffset_ = Offset(channel);
}

// The x of every taken sample, the same for all traces of the pane; kept while the layout
// that gives them stays.
void ElectrogramDrawing::PrepareTakenX() {
  const AnalysisState& s = state_;
  const int step = DecimationStep();
  takenPerTrace_ = WindowCount() / step;
  const TakenXLayout layout{step, takenPerTrace_, s.TraceLeft, s.SampleWidth};
  if (layout == takenXLayout_) return;
  takenX_.resize(size_t(takenPerTrace_));
  for (int j = 0; j < takenPerTrace_; ++j) takenX_[size_t(j)] = s.TraceLeft + PixelRound((step * (j + 1) + 1) * s.SampleWidth);
  takenXLayout_ = layout;
}

void ElectrogramDrawing::DrawPoints() {
  if (!state_.PlotOnlyDots) {
    canvas_.Polyline(points_);
    return;
  }
  for (size_t i = 1; i < points_.size(); ++i) canvas_.Line(points_[i].x, points_[i].y, points_[i].x + 1, points_[i].y + 1);
}

void ElectrogramDrawing::IndexMarksByElectrode() {
  const AnalysisState& s = state_;
  std::fill(markStart_.begin(), markStart_.end(), 0);
  for (int n = 1; n <= s.MarkCount; ++n) {
    const int e = s.Mark(n).Electrode;
    if (e >= 1 && e <= kChannels) ++markStart_[size_t(e) + 1];
  }
  for (size_t e = 1; e < markStart_.size(); ++e) markStart_[e] += markStart_[e - 1];
  markOrder_.resize(size_t(markStart_.back()));
  std::vector<int32_t> next(markStart_.begin(), markStart_.end() - 1);
  for (int n = 1; n <= s.MarkCount; ++n) {
    const int e = s.Mark(n).Electrode;
    if (e >= 1 && e <= kChannels) markOrder_[size_t(next[size_t(e)]++)] = n;
  }
}

// The marks are drawn from left to right, so that a time label can make way for the one
// before it on the trace.
void ElectrogramDrawing::DrawTraceMarks(int trace, int32_t channel) {
  if (channel == kNoValue) return;
  const AnalysisState& s = state_;
  shownMarks_.clear();
  for (int32_t k = markStart_[size_t(channel)]; k < markStart_[size_t(channel) + 1]; ++k) {
    const int n = markOrder_[size_t(k)];
    const MarkRecord& mark = s.Mark(n);
    if (mark.Kind == kNoValue || mark.Electrode != channel) continue;
    const int64_t sample = RoundHalfEven(double(mark.Time) * s.SamplingF / 1000.0);
    if (sample < s.TraceFirstSample || sample > s.TraceLastSample) continue;
    shownMarks_.push_back(n);
  }
  const auto earlier = [&s](int a, int b) { return s.Mark(a).Time < s.Mark(b).Time; };
  if (!std::is_sorted(shownMarks_.begin(), shownMarks_.end(), earlier))
    std::stable_sort(shownMarks_.begin(), shownMarks_.end(), earlier);
  labelFreeFrom_ = std::numeric_limits<int64_t>::min();
  for (const int n : shownMarks_) {
    const MarkRecord& mark = s.Mark(n);
    DrawMark(trace, mark.Electrode, mark.Origin, mark.Kind, s.MarkAmplitudes[size_t(n - 1)].Interval, mark.Time);
  }
}

void ElectrogramDrawing::DrawMark(int trace, int32_t electrode, int origin, int kind, int32_t interval, int32_t time) {
  const AnalysisState& s = state_;
  const int x = s.TraceLeft + Round((double(time) * s.SamplingF / 1000.0 - s.TraceFirstSample) * s.SampleWidth);
  const int top = TraceLayout::BandTop(s, trace);
  const int bottom = TraceLayout::BandBottom(s, trace);
  canvas_.SetPen(MarkColour(kind), origin == kByHand ? 2 : 1);
  if (s.ShowElgMarks) canvas_.Line(x, top, x, bottom);
  // A time label that would overlap the one before it on the trace is left out, as the
  // ruler's labels are: in a long window the marks' times would run into one band.
  if (s.ShowElgTimes && x + 5 >= labelFreeFrom_)
    labelFreeFrom_ = int64_t(DrawTimeLabel(x + 5, BelowRuler(top), electrode, time)) + canvas_.TextWidth(" ");
  if (kind == kReferenceMark && s.ShowElgMarks) {
    canvas_.SetBrush(colours::kBlack);
    canvas_.Ellipse(x - 4, top - 4, x + 4, top + 4);
  }
  const bool intervalShown = (s.ShowElgIntervals && kind == kSlowWave) || (s.ShowSpikeIntervals && kind == kSpike);
  if (intervalShown && interval != kNoValue) {
    const std::string label = std::to_string(interval);
    canvas_.SetBrush(colours::kWhite);
    canvas_.SetFont(colours::kFuchsia, FontStyle{});
    canvas_.TextOut(x - 20 - canvas_.TextWidth(label), BelowRuler(bottom - 5 - canvas_.TextHeight(label)), label);
  }
  canvas_.SetPen(colours::kBlack, 1);
  canvas_.SetBrush(colours::kWhite);
}

// The first trace's band reaches up to the time labels along the top: its labels keep below
// them while they are shown.
int ElectrogramDrawing::BelowRuler(int y) {
  if (!state_.ShowTimeGrid) return y;
  return std::max(y, ElectrogramScales(state_, canvas_).RulerBottom());
}

// A mark's time; while the other pane shows the map this time went into, the label takes
// the colour of its map cell and shows the cell's value.
int ElectrogramDrawing::DrawTimeLabel(int x, int y, int32_t electrode, int32_t time) {
  const AnalysisState& s = state_;
  Colour background = colours::kWhite;
  const int64_t shown = int64_t(time) - s.ReferenceTime;
  if (s.ShowBackgroundColor && s.TwoPanes && electrode >= 1 && electrode <= kChannels) {
    const int col = s.ElectrodeX[size_t(electrode - 1)], row = s.ElectrodeY[size_t(electrode - 1)];
    if (col >= 1 && row >= 1 && s.Cell(col, row).Value == shown && shown != kNoValue && shown != kAltNoValue)
      background = MapColours::MapColour(MapColours::ColourIndex(s, int32_t(shown)));
  }
  canvas_.SetBrush(background);
  canvas_.SetFont(colours::kBlack, FontStyle{});
  const std::string label = std::to_string(shown);
  canvas_.TextOut(x, y, label);
  return x + canvas_.TextWidth(label);
}

void ElectrogramDrawing::DrawAmplitudes(int trace, int32_t channel) {
  if (channel == kNoValue) return;
  const AnalysisState& s = state_;
  const int yc = TraceLayout::Centre(s, trace);
  for (int32_t k = markStart_[size_t(channel)]; k < markStart_[size_t(channel) + 1]; ++k) {
    const int n = markOrder_[size_t(k)];
    const MarkRecord& mark = s.Mark(n);
    const AmplitudeRecord& a = s.MarkAmplitudes[size_t(n - 1)];
    if (mark.Kind != kSlowWave || a.Electrode == kNoValue) continue;
    if (mark.Time < s.CurBegin || mark.Time > s.CurBegin + s.CurWindow) continue;
    const int xMax = s.TraceLeft + Round((a.MaxSample - s.CurBegin) * s.SampleWidth);
    const int yMax = yc - Round((a.MaxValue - s.SignalMean) * s.Amplification);
    const int xMin = s.TraceLeft + Round((a.MinSample - s.CurBegin) * s.SampleWidth);
    const int yMin = yc - Round((a.MinValue - s.SignalMean) * s.Amplification);
    canvas_.SetPen(colours::kBlue);
    canvas_.Line(xMax - 10, yMax, xMax + 10, yMax);
    canvas_.Line(xMax, yMin, xMin + 10, yMin);
    canvas_.Line(xMax, yMax, xMax, yMin);
    if (s.ShowElgTimes) {
      canvas_.SetBrush(colours::kWhite);
      canvas_.SetFont(colours::kBlue, FontStyle{});
      canvas_.TextOut(xMax - 20, BelowRuler((yMax + yMin) / 2),
                      fmt::format("{:.2f} mV", (a.MaxValue - a.MinValue) / UnitsPerMv(s)));
    }
  }
}

}  // namespace velmora
