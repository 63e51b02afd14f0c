#include "marks/TraceColumnSpans.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "core/AnalysisState.h"
#include "marks/TracePoints.h"

namespace velmora {

namespace {

constexpr int32_t kNone = std::numeric_limits<int32_t>::max();

bool SameSource(const TraceSampleGather::Source& a, const TraceSampleGather::Source& b) {
  return a.column == b.column && a.neighbour == b.neighbour;
}

// The whole blocks of `size` rows that lie within rows firstRow .. endRow - 1.
std::pair<int, int> WholeBlocks(int firstRow, int endRow, int size) {
  return {(firstRow + size - 1) / size, endRow / size};
}

}  // namespace

void TraceColumnSpans::Span::Add(int32_t value) {
  low = std::min(low, value);
  high = std::max(high, value);
}

void TraceColumnSpans::Span::Add(const Span& other) {
  low = std::min(low, other.low);
  high = std::max(high, other.high);
}

TraceColumnSpans::TraceColumnSpans(const AnalysisState& state) : state_(state) {}

bool TraceColumnSpans::Wanted(double sampleWidth, int step) {
  return step > 1 && sampleWidth > 0 && sampleWidth * kMaxSamplesPerDecimatedColumn < 1.0;
}

int TraceColumnSpans::Rows() const { return int(state_.Signals.size() / kChannels); }

void TraceColumnSpans::DropIfStale() {
  if (version_ == state_.SignalVersion && rows_ == Rows()) return;
  kept_.clear();
  version_ = state_.SignalVersion;
  rows_ = Rows();
}

const TraceColumnSpans::Extremes* TraceColumnSpans::Find(const TraceSampleGather::Source& source) const {
  for (const Extremes& extremes : kept_)
    if (SameSource(extremes.source, source)) return &extremes;
  return nullptr;
}

void TraceColumnSpans::Prepare(const std::vector<TraceSampleGather::Source>& sources) {
  DropIfStale();
  std::vector<Extremes> made;
  for (const auto& source : sources) {
    const bool known = Find(source) || std::any_of(made.begin(), made.end(), [&](const Extremes& e) {
                         return SameSource(e.source, source);
                       });
    if (!known) made.push_back({source, {}, {}});
  }
  if (made.empty()) return;
  // Drop the oldest sources no longer shown; the ones this pane shows all stay.
  const auto shown = [&](const Extremes& e) {
    return std::any_of(sources.begin(), sources.end(), [&](const auto& s) { return SameSource(e.source, s); });
  };
  while (kept_.size() + made.size() > kMaxKeptSources) {
    const auto old = std::find_if_not(kept_.begin(), kept_.end(), shown);
    if (old == kept_.end()) break;
    kept_.erase(old);
  }
  Fill(made);
  for (Extremes& extremes : made) kept_.push_back(std::move(extremes));
}

// One pass down the store for all new sources together: each row is fetched once.
void TraceColumnSpans::Fill(std::vector<Extremes>& made) const {
  const int fineBlocks = rows_ / kFineRows;
  const int coarseBlocks = fineBlocks / kFinePerCoarse;
  for (Extremes& extremes : made) {
    extremes.fine.assign(size_t(fineBlocks), Span{kNone, -kNone});
    extremes.coarse.assign(size_t(coarseBlocks), Span{kNone, -kNone});
  }
  const int32_t* line = state_.Signals.data();
  for (int block = 0; block < fineBlocks; ++block)
    for (int r = 0; r < kFineRows; ++r, line += kChannels)
      for (Extremes& extremes : made) extremes.fine[size_t(block)].Add(Value(extremes.source, line));
  for (Extremes& extremes : made)
    for (int block = 0; block < coarseBlocks * kFinePerCoarse; ++block)
      extremes.coarse[size_t(block / kFinePerCoarse)].Add(extremes.fine[size_t(block)]);
}

int32_t TraceColumnSpans::Value(const TraceSampleGather::Source& source, const int32_t* line) const {
  return source.neighbour >= 0 ? line[source.column] - line[source.neighbour] : line[source.column];
}

TraceColumnSpans::Window TraceColumnSpans::CurrentWindow(const std::vector<TraceSampleGather::Source>& sources) const {
  const AnalysisState& s = state_;
  Window window{{}, s.TraceFirstSample, s.TraceLastSample, s.TraceLeft, Rows(), s.SampleWidth, s.SignalVersion};
  for (const auto& source : sources) window.sources.push_back({source.column, source.neighbour});
  return window;
}

void TraceColumnSpans::Compute(const std::vector<TraceSampleGather::Source>& sources) {
  Window window = CurrentWindow(sources);
  if (window == window_) return;
  window_ = std::move(window);
  Prepare(sources);
  LayOutColumns();
  std::vector<const Extremes*> extremes;
  for (const auto& source : sources) extremes.push_back(Find(source));
  spans_.assign(sources.size() * columns_.size(), Span{kNone, -kNone});
  AddEdgeRows(extremes);
  for (size_t i = 0; i < extremes.size(); ++i) AddBlocks(*extremes[i], i);
}

// The column a sample is drawn in, by the same rule as the decimated points.
int TraceColumnSpans::ColumnX(int sample) const {
  const AnalysisState& s = state_;
  return s.TraceLeft + TracePoints::PixelRound(double(sample - s.TraceFirstSample + 1) * s.SampleWidth);
}

// The last sample of the window drawn in column x, from `sample`, the first one drawn there.
int TraceColumnSpans::LastSampleAt(int x, int sample) const {
  const AnalysisState& s = state_;
  const int last = std::min(s.TraceLastSample, rows_);
  const double guess = s.TraceFirstSample - 1 + std::floor((x - s.TraceLeft + 0.5) / s.SampleWidth);
  int end = int(std::clamp<double>(guess, sample, last));
  while (end < last && ColumnX(end + 1) <= x) ++end;
  while (end > sample && ColumnX(end) > x) --end;
  return end;
}

// Sample s lies in row s - 1.
void TraceColumnSpans::LayOutColumns() {
  const AnalysisState& s = state_;
  columns_.clear();
  const int last = std::min(s.TraceLastSample, rows_);
  for (int sample = std::max(s.TraceFirstSample, 0) + 1; sample <= last;) {
    const int x = ColumnX(sample);
    const int end = LastSampleAt(x, sample);
    columns_.push_back({x, sample - 1, end});
    sample = end + 1;
  }
}

// The rows of each column outside its whole 4-row blocks, column by column for all traces.
void TraceColumnSpans::AddEdgeRows(const std::vector<const Extremes*>& extremes) {
  for (size_t c = 0; c < columns_.size(); ++c) {
    const Column& column = columns_[c];
    const auto [first, end] = WholeBlocks(column.firstRow, column.endRow, kFineRows);
    if (first >= end) {
      AddRows(extremes, c, column.firstRow, column.endRow);
      continue;
    }
    AddRows(extremes, c, column.firstRow, first * kFineRows);
    AddRows(extremes, c, end * kFineRows, column.endRow);
  }
}

void TraceColumnSpans::AddRows(const std::vector<const Extremes*>& extremes, size_t column, int firstRow,
                               int endRow) {
  for (int row = firstRow; row < endRow; ++row) {
    const int32_t* line = state_.Signals.data() + size_t(row) * kChannels;
    for (size_t i = 0; i < extremes.size(); ++i)
      spans_[i * columns_.size() + column].Add(Value(extremes[i]->source, line));
  }
}

// The whole 4-row blocks of each column: 64-row blocks inside, 4-row ones at the ends.
void TraceColumnSpans::AddBlocks(const Extremes& extremes, size_t index) {
  Span* spans = spans_.data() + index * columns_.size();
  const Span* fine = extremes.fine.data();
  const Span* coarse = extremes.coarse.data();
  for (size_t c = 0; c < columns_.size(); ++c) {
    const auto [first, end] = WholeBlocks(columns_[c].firstRow, columns_[c].endRow, kFineRows);
    if (first >= end) continue;
    auto [coarseFirst, coarseEnd] = WholeBlocks(first, end, kFinePerCoarse);
    if (coarseFirst >= coarseEnd) coarseFirst = coarseEnd = end / kFinePerCoarse;
    Span span = spans[c];
    for (int b = first; b < std::min(end, coarseFirst * kFinePerCoarse); ++b) span.Add(fine[b]);
    for (int b = coarseFirst; b < coarseEnd; ++b) span.Add(coarse[b]);
    for (int b = std::max(first, coarseEnd * kFinePerCoarse); b < end; ++b) span.Add(fine[b]);
    spans[c] = span;
  }
}

void TraceColumnSpans::Place(size_t index, double offset, int yc, std::vector<Point>& points) const {
  const double amplification = state_.Amplification;
  auto y = [&](int32_t value) { return yc - TracePoints::PixelRound((value - offset) * amplification); };
  const Span* spans = spans_.data() + index * columns_.size();
  for (size_t c = 0; c < columns_.size(); ++c) {
    int first = y(spans[c].high), second = y(spans[c].low);
    if (std::abs(points.back().y - second) < std::abs(points.back().y - first)) std::swap(first, second);
    points.push_back({columns_[c].x, first});
    if (second != first) points.push_back({columns_[c].x, second});
  }
}

}  // namespace velmora
