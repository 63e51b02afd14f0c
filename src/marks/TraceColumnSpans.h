#pragma once

#include <cstdint>
#include <vector>

#include "core/Canvas.h"
#include "marks/TraceSampleGather.h"

namespace velmora {

struct AnalysisState;

// The points of a trace whose pixel columns each cover many samples: per column the span from
// its lowest to its highest sample, so that a spike or a trough narrower than the decimation
// step still reaches its pixel row instead of falling between the samples taken.
//
// The span of a column is found from kept extremes of 16-row blocks, so a redraw reads each
// block's pair once instead of its 16 rows; only the block a column edge cuts is read from the
// store. The extremes are worked out per trace source (channel, less its neighbour for a
// bipolar trace) in one pass down the store the first time a pane shows it, and dropped when
// the samples change (AnalysisState::SignalVersion) or the store is resized.
class TraceColumnSpans {
 public:
  static constexpr int kRowsPerBlock = 16;
  // Up to this many samples a column the decimated polyline is kept: every window of a
  // 65,535-sample recording in a trace area of 512 pixels or more stays drawn as it was.
  static constexpr int kMaxSamplesPerDecimatedColumn = 128;
  // Extremes kept for at most this many sources; more and all are dropped and made anew.
  static constexpr size_t kMaxKeptSources = 64;

  explicit TraceColumnSpans(const AnalysisState& state);

  // Whether a window laid out with `sampleWidth` pixels a sample and decimated with `step` is
  // drawn as column spans: only where the decimation skips samples and a column covers many.
  static bool Wanted(double sampleWidth, int step);

  // Makes the extremes of every source in `sources` that are not kept yet, in one pass.
  void Prepare(const std::vector<TraceSampleGather::Source>& sources);

  // Appends the span points of the window TraceFirstSample + 1 .. TraceLastSample of `source`
  // to `points`, which holds the trace's first point: per column its extreme nearer the
  // previous point first, then the other, so the polyline runs on without a gap.
  void Place(const TraceSampleGather::Source& source, double offset, int yc, std::vector<Point>& points);

 private:
  struct Extremes {
    TraceSampleGather::Source source;
    std::vector<int32_t> minima, maxima;  // per whole block of the store
  };
  struct Span {
    int32_t low, high;
  };

  int Rows() const;
  void DropIfStale();
  const Extremes* Find(const TraceSampleGather::Source& source) const;
  void Fill(std::vector<Extremes>& made);
  int32_t Value(const TraceSampleGather::Source& source, int row) const;
  void AddRows(const TraceSampleGather::Source& source, int firstRow, int endRow, Span& span) const;
  Span ColumnSpan(const Extremes& extremes, int firstRow, int endRow) const;
  int ColumnX(int sample) const;
  int LastSampleAt(int x, int sample) const;

  const AnalysisState& state_;
  uint64_t version_ = 0;
  int rows_ = 0;
  std::vector<Extremes> kept_;
};

}  // namespace velmora
