#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "core/Canvas.h"
#include "marks/TraceSampleGather.h"

namespace velmora {

struct AnalysisState;

// The points of traces whose pixel columns each cover many samples: per column the span from
// its lowest to its highest sample, so that a spike or a trough narrower than the decimation
// step still reaches its pixel row instead of falling between the samples taken.
//
// A redraw must not read every sample of a long window. The extremes of every 4 rows and of
// every 64 rows are kept per trace source (channel, less its neighbour for a bipolar trace):
// the inside of a column comes from the 64-row extremes, its ends from the 4-row ones, and only
// the few rows next to a column edge are read from the store, for all traces together so each
// such row is fetched once. The extremes are made in one pass down the store the first time a
// pane shows a source, and dropped when the samples change (AnalysisState::SignalVersion) or
// the store is resized.
class TraceColumnSpans {
 public:
  static constexpr int kFineRows = 4;
  static constexpr int kFinePerCoarse = 16;
  static constexpr int kCoarseRows = kFineRows * kFinePerCoarse;
  // Up to this many samples a column the decimated polyline is kept: every window of a
  // 65,535-sample recording in a trace area of 512 pixels or more stays drawn as it was.
  static constexpr int kMaxSamplesPerDecimatedColumn = 128;
  // Extremes kept for at most this many sources; more and the older ones are dropped.
  static constexpr size_t kMaxKeptSources = 64;

  explicit TraceColumnSpans(const AnalysisState& state);

  // Whether a window laid out with `sampleWidth` pixels a sample and decimated with `step` is
  // drawn as column spans: only where the decimation skips samples and a column covers many.
  static bool Wanted(double sampleWidth, int step);

  // Works out the column spans of `sources` over the window TraceFirstSample + 1 ..
  // TraceLastSample as the state lays it out.
  void Compute(const std::vector<TraceSampleGather::Source>& sources);

  // Appends the span points of source `index` of the last Compute to `points`, which holds the
  // trace's first point: per column its extreme nearer the previous point first, then the
  // other, so the polyline runs on without a gap.
  void Place(size_t index, double offset, int yc, std::vector<Point>& points) const;

 private:
  struct Span {
    int32_t low, high;
    void Add(int32_t value);
    void Add(const Span& other);
  };
  struct Extremes {
    TraceSampleGather::Source source;
    std::vector<Span> fine, coarse;  // per whole block of the store
  };
  struct Column {
    int x, firstRow, endRow;
  };
  // What the spans of the last Compute follow from: a pane redrawn over the same window (a
  // mark set, a switch flipped) keeps them.
  struct Window {
    std::vector<std::pair<int, int>> sources;
    int firstSample = 0, lastSample = -1, traceLeft = 0, rows = 0;
    double sampleWidth = 0;
    uint64_t version = 0;
    bool operator==(const Window&) const = default;
  };
  Window CurrentWindow(const std::vector<TraceSampleGather::Source>& sources) const;

  int Rows() const;
  void Prepare(const std::vector<TraceSampleGather::Source>& sources);
  void DropIfStale();
  const Extremes* Find(const TraceSampleGather::Source& source) const;
  void Fill(std::vector<Extremes>& made) const;
  int32_t Value(const TraceSampleGather::Source& source, const int32_t* line) const;
  void LayOutColumns();
  int ColumnX(int sample) const;
  int LastSampleAt(int x, int sample) const;
  void AddEdgeRows(const std::vector<const Extremes*>& extremes);
  void AddRows(const std::vector<const Extremes*>& extremes, size_t column, int firstRow, int endRow);
  void AddBlocks(const Extremes& extremes, size_t index);

  const AnalysisState& state_;
  uint64_t version_ = 0;
  int rows_ = 0;
  std::vector<Extremes> kept_;
  std::vector<Column> columns_;
  std::vector<Span> spans_;  // of the last Compute, source by source, column by column
  Window window_;            // of spans_
};

}  // namespace velmora
