#pragma once

namespace velmora {

struct AnalysisState;

// Intervals shown beside marks: the time since the previous mark of the same electrode
// (for a slow wave, the previous slow wave), stored in the marks' amplitude records.
class MarkIntervals {
 public:
  // Fills the Interval of every mark: NoValue outside [CurBegin, CurBegin + CurWindow] or
  // without a predecessor, and, while LimitIntervals is on, for intervals of
  // MaxIntervalValue or more.
  static void CalcMarkIntervals(AnalysisState& state);
};

}  // namespace velmora
