#include "marks/TraceColumnSpans.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "core/AnalysisState.h"
#include "marks/TracePoints.h"

namespace velmora {

namespace {

bool SameSource(const TraceSampleGather::Source& a, const TraceSampleGather::Source& b) {
  return a.column == b.column && a.neighbour == b.neighbour;
}

}  // namespace

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
  auto missing = [&](const TraceSampleGather::Source& source) {
    return !Find(source) && std::none_of(made.begin(), made.end(),
                                         [&](const Extremes& e) { return SameSource(e.source, source); });
  };
  for (const auto& source : sources)
    if (missing(source)) made.push_back({source, {}, {}});
  if (made.empty()) return;
  if (kept_.size() + made.size() > kMaxKeptSources) {
    kept_.clear();
    made.clear();
    for (const auto& source : sources)
      if (missing(source)) made.push_back({source, {}, {}});
  }
  Fill(made);
  for (Extremes& extremes : made) kept_.push_back(std::move(extremes));
}

// One pass down the store for all new sources together: each row is fetched once.
void TraceColumnSpans::Fill(std::vector<Extremes>& made) {
  const int blocks = rows_ / kRowsPerBlock;
  for (Extremes& extremes : made) {
    extremes.minima.resize(size_t(blocks));
    extremes.maxima.resize(size_t(blocks));
  }
  std::vector<Span> spans(made.size());
  for (int block = 0; block < blocks; ++block) {
    std::fill(spans.begin(), spans.end(), Span{std::numeric_limits<int32_t>::max(), std::numeric_limits<int32_t>::min()});
    for (size_t i = 0; i < made.size(); ++i)
      AddRows(made[i].source, block * kRowsPerBlock, (block + 1) * kRowsPerBlock, spans[i]);
    for (size_t i = 0; i < made.size(); ++i) {
      made[i].minima[size_t(block)] = spans[i].low;
      made[i].maxima[size_t(block)] = spans[i].high;
    }
  }
}

int32_t TraceColumnSpans::Value(const TraceSampleGather::Source& source, int row) const {
  const int32_t* line = state_.Signals.data() + size_t(row) * kChannels;
  return source.neighbour >= 0 ? line[source.column] - line[source.neighbour] : line[source.column];
}

void TraceColumnSpans::AddRows(const TraceSampleGather::Source& source, int firstRow, int endRow, Span& span) const {
  for (int row = firstRow; row < endRow; ++row) {
    const int32_t value = Value(source, row);
    span.low = std::min(span.low, value);
    span.high = std::max(span.high, value);
  }
}

// Rows firstRow .. endRow - 1: the whole blocks from their kept extremes, the rest directly.
TraceColumnSpans::Span TraceColumnSpans::ColumnSpan(const Extremes& extremes, int firstRow, int endRow) const {
  Span span{std::numeric_limits<int32_t>::max(), std::numeric_limits<int32_t>::min()};
  const int firstBlock = (firstRow + kRowsPerBlock - 1) / kRowsPerBlock;
  const int endBlock = std::min(endRow / kRowsPerBlock, int(extremes.minima.size()));
  if (firstBlock >= endBlock) {
    AddRows(extremes.source, firstRow, endRow, span);
    return span;
  }
  AddRows(extremes.source, firstRow, firstBlock * kRowsPerBlock, span);
  for (int block = firstBlock; block < endBlock; ++block) {
    span.low = std::min(span.low, extremes.minima[size_t(block)]);
    span.high = std::max(span.high, extremes.maxima[size_t(block)]);
  }
  AddRows(extremes.source, endBlock * kRowsPerBlock, endRow, span);
  return span;
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

void TraceColumnSpans::Place(const TraceSampleGather::Source& source, double offset, int yc, std::vector<Point>& points) {
  if (!Find(source) || version_ != state_.SignalVersion || rows_ != Rows()) Prepare({source});
  const Extremes& extremes = *Find(source);
  const AnalysisState& s = state_;
  const int last = std::min(s.TraceLastSample, rows_);
  auto y = [&](int32_t value) { return yc - TracePoints::PixelRound((value - offset) * s.Amplification); };
  for (int sample = s.TraceFirstSample + 1; sample <= last;) {
    const int x = ColumnX(sample);
    const int end = LastSampleAt(x, sample);
    const Span span = ColumnSpan(extremes, sample - 1, end);
    int first = y(span.high), second = y(span.low);
    if (std::abs(points.back().y - second) < std::abs(points.back().y - first)) std::swap(first, second);
    points.push_back({x, first});
    if (second != first) points.push_back({x, second});
    sample = end + 1;
  }
}

}  // namespace velmora
