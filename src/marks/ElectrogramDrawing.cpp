#include "marks/ElectrogramDrawing.h"

#include <algorithm>
#include <string>

#include <fmt/format.h>

#include "core/AnalysisState.h"
#include "core/Arithmetic.h"
#include "core/TraceChannel.h"
#include "maps/MapColours.h"
#include "marks/ElectrogramScales.h"
#include "marks/MarkIntervals.h"
#include "marks/TraceLayout.h"

namespace velmora {

namespace {

constexpr int kMaxPointsBeforeDecimation = 16000;
constexpr double kUnitsPerMillivolt = 747.0;

int Round(double x) { return int(RoundHalfEven(x)); }

// A pixel coordinate, rounded halves to even; far-off values (an absurd amplification) stay
// far off without overflowing an int.
inline int PixelRound(double x) {
  constexpr double kMagic = 0x1.8p52;
  return int((std::clamp(x, -1.0e9, 1.0e9) + kMagic) - kMagic);
}

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
    : state_(state), canvas_(canvas), markStart_(kChannels + 2, 0) {
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
  if (s.ShowElgIntervals || s.ShowSpikeIntervals) MarkIntervals::CalcMarkIntervals(s);
  IndexMarksByElectrode();
  PrepareTraces();
  for (int i = 1; i <= s.NrTraces; ++i) {
    const int32_t channel = traceChannels_[size_t(i - 1)];
    DrawTrace(i, channel);
    DrawTraceMarks(i, channel);
    if (s.ShowAmplitudes) DrawAmplitudes(i, channel);
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
  const int count = std::max(0, s.TraceLastSample - s.TraceFirstSample);
  PrepareTakenX();
  traceSums_.assign(traces, 0);
  // Only traces that show a channel keep values: at most 256, however many traces are asked for.
  traceValues_.resize(activeTraces_.size() * size_t(takenPerTrace_));
  ReadTraceRows();
  traceOffsets_.resize(traces);
  for (size_t i = 0; i < traces; ++i)
    traceOffsets_[i] = (s.AverageOffset && count > 0) ? double(traceSums_[i]) / count : 0.0;
}

// One pass down the rows of the window. The traces' channels are summed as one span of
// columns, which the compiler turns into whole-vector additions; a bipolar trace's sum is
// its channel's sum less its neighbour's. The store's rows lie 1 KiB apart, too far for the
// processor to guess, so the rows some way ahead are asked for before they are needed.
void ElectrogramDrawing::ReadTraceRows() {
  const AnalysisState& s = state_;
  if (activeTraces_.empty()) return;
  constexpr int kAhead = 16;
  constexpr int kRowsPerBlock = 16384;  // 16-bit samples summed this often cannot overflow 32 bits
  const bool bipolar = s.Bipolar == 1;
  int low = kChannels, high = -1;
  for (int i : activeTraces_) {
    low = std::min(low, traceChannels_[size_t(i)] - 1);
    high = std::max(high, traceChannels_[size_t(i)] - 1 + (bipolar ? 1 : 0));
  }
  high = std::min(high, kChannels - 1);
  const int width = high - low + 1;
  std::vector<int64_t> spanSums(size_t(width), 0);
  std::vector<int32_t> blockSums(size_t(width), 0);
  const int step = DecimationStep();
  int phase = 0, inBlock = 0;
  size_t taken = 0;
  for (int32_t sample = s.TraceFirstSample + 1; sample <= s.TraceLastSample; ++sample) {
    const int32_t* row = &s.Signals[size_t(sample - 1) * kChannels];
    if (sample + kAhead <= s.TraceLastSample)
      for (int c = low; c <= high; c += 16) __builtin_prefetch(row + kAhead * kChannels + c);
    AddSpan(row + low, width, blockSums.data());
    if (++inBlock == kRowsPerBlock) {
      FlushBlock(blockSums, spanSums);
      inBlock = 0;
    }
    if (++phase == step) {
      phase = 0;
      StoreTaken(row, taken++, bipolar);
    }
  }
  FlushBlock(blockSums, spanSums);
  for (int i : activeTraces_) {
    const int column = traceChannels_[size_t(i)] - 1;
    int64_t sum = spanSums[size_t(column - low)];
    if (bipolar && column + 1 < kChannels) sum -= spanSums[size_t(column + 1 - low)];
    traceSums_[size_t(i)] = sum;
  }
}

void ElectrogramDrawing::AddSpan(const int32_t* __restrict values, int width, int32_t* __restrict sums) {
  for (int c = 0; c < width; ++c) sums[c] += values[c];
}

void ElectrogramDrawing::FlushBlock(std::vector<int32_t>& block, std::vector<int64_t>& total) {
  for (size_t c = 0; c < block.size(); ++c) total[c] += block[c];
  std::fill(block.begin(), block.end(), 0);
}

void ElectrogramDrawing::StoreTaken(const int32_t* row, size_t taken, bool bipolar) {
  const size_t perTrace = size_t(takenPerTrace_);
  for (int i : activeTraces_) {
    const int column = traceChannels_[size_t(i)] - 1;
    // The last channel has no right-hand neighbour to subtract.
    const int32_t value = bipolar && column + 1 < kChannels ? row[column] - row[column + 1] : row[column];
    traceValues_[size_t(valueSlot_[size_t(i)]) * perTrace + taken] = value;
  }
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

double ElectrogramDrawing::SampleValue(int32_t sample, int32_t channel) const {
  const int row = sample - 1;
  const double value = state_.Signal(row, channel - 1);
  if (state_.Bipolar != 1) return value;
  // The last channel has no right-hand neighbour to subtract.
  return channel < kChannels ? value - state_.Signal(row, channel) : value;
}

double ElectrogramDrawing::Offset(int32_t channel) const {
  const AnalysisState& s = state_;
  const int count = s.TraceLastSample - s.TraceFirstSample;
  if (!s.AverageOffset || count <= 0) return 0.0;
  double sum = 0;
  for (int32_t sample = s.TraceFirstSample + 1; sample <= s.TraceLastSample; ++sample)
    sum += SampleValue(sample, channel);
  return sum / count;
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
  if (!prepared) ReadSingleTrace(channel);
  const double offset = prepared ? traceOffsets_[size_t(trace - 1)] : singleOffset_;
  const int32_t* values =
      prepared ? traceValues_.data() + size_t(valueSlot_[size_t(trace - 1)]) * size_t(takenPerTrace_)
               : singleValues_.data();
  const int yc = TraceLayout::Centre(s, trace);
  const int firstRow = std::min(s.TraceFirstSample, kSignalRows - 1);
  points_.resize(size_t(takenPerTrace_) + 1);
  points_[0] = {s.TraceLeft, yc - PixelRound(s.Signal(firstRow, channel - 1) * s.Amplification)};
  for (int j = 0; j < takenPerTrace_; ++j)
    points_[size_t(j) + 1] = {takenX_[size_t(j)], yc - PixelRound((values[j] - offset) * s.Amplification)};
  if (keepTaken_) KeepTaken(values, offset);
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
  const AnalysisState& s = state_;
  PrepareTakenX();
  const int step = DecimationStep();
  singleValues_.resize(size_t(takenPerTrace_));
  for (int j = 0; j < takenPerTrace_; ++j)
    singleValues_[size_t(j)] = int32_t(SampleValue(s.TraceFirstSample + step * (j + 1), channel));
  singleOffset_ = Offset(channel);
}

// The x of every taken sample, the same for all traces of the pane.
void ElectrogramDrawing::PrepareTakenX() {
  const AnalysisState& s = state_;
  const int step = DecimationStep();
  takenPerTrace_ = std::max(0, s.TraceLastSample - s.TraceFirstSample) / step;
  takenX_.resize(size_t(takenPerTrace_));
  for (int j = 0; j < takenPerTrace_; ++j) takenX_[size_t(j)] = s.TraceLeft + PixelRound((step * (j + 1) + 1) * s.SampleWidth);
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

void ElectrogramDrawing::DrawTraceMarks(int trace, int32_t channel) {
  if (channel == kNoValue) return;
  const AnalysisState& s = state_;
  for (int32_t k = markStart_[size_t(channel)]; k < markStart_[size_t(channel) + 1]; ++k) {
    const int n = markOrder_[size_t(k)];
    const MarkRecord& mark = s.Mark(n);
    if (mark.Kind == kNoValue || mark.Electrode != channel) continue;
    const int64_t sample = RoundHalfEven(double(mark.Time) * s.SamplingF / 1000.0);
    if (sample < s.TraceFirstSample || sample > s.TraceLastSample) continue;
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
  if (s.ShowElgTimes) DrawTimeLabel(x + 5, top, electrode, time);
  if (kind == kReferenceMark && s.ShowElgMarks) {
    canvas_.SetBrush(colours::kBlack);
    canvas_.Ellipse(x - 4, top - 4, x + 4, top + 4);
  }
  const bool intervalShown = (s.ShowElgIntervals && kind == kSlowWave) || (s.ShowSpikeIntervals && kind == kSpike);
  if (intervalShown && interval != kNoValue) {
    const std::string label = std::to_string(interval);
    canvas_.SetBrush(colours::kWhite);
    canvas_.SetFont(colours::kFuchsia, FontStyle{});
    canvas_.TextOut(x - 20 - canvas_.TextWidth(label), bottom - 5 - canvas_.TextHeight(label), label);
  }
  canvas_.SetPen(colours::kBlack, 1);
  canvas_.SetBrush(colours::kWhite);
}

// A mark's time; while the other pane shows the map this time went into, the label takes
// the colour of its map cell and shows the cell's value.
void ElectrogramDrawing::DrawTimeLabel(int x, int y, int32_t electrode, int32_t time) {
  const AnalysisState& s = state_;
  Colour background = colours::kWhite;
  int32_t shown = time - s.ReferenceTime;
  if (s.ShowBackgroundColor && s.TwoPanes && electrode >= 1 && electrode <= kChannels) {
    const int col = s.ElectrodeX[size_t(electrode - 1)], row = s.ElectrodeY[size_t(electrode - 1)];
    if (col >= 1 && row >= 1 && s.Cell(col, row).Value == shown && shown != kNoValue && shown != kAltNoValue)
      background = MapColours::MapColour(MapColours::ColourIndex(s, shown));
  }
  canvas_.SetBrush(background);
  canvas_.SetFont(colours::kBlack, FontStyle{});
  canvas_.TextOut(x, y, std::to_string(shown));
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
      canvas_.TextOut(xMax - 20, (yMax + yMin) / 2, fmt::format("{:.2f}", (a.MaxValue - a.MinValue) / kUnitsPerMillivolt));
    }
  }
}

}  // namespace velmora
