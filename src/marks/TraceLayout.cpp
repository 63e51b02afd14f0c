#include "marks/TraceLayout.h"

#include <algorithm>

#include "core/AnalysisState.h"
#include "core/Arithmetic.h"

namespace velmora {

namespace {

// Samples beyond the store cannot be drawn, whatever the window asks for.
int ClampToStore(const AnalysisState& s, int64_t sample) { return int(std::clamp<int64_t>(sample, 0, s.SignalRows())); }

}  // namespace

void TraceLayout::LayoutTraces(AnalysisState& s) {
  s.TraceLeft = kTraceLeft;
  s.TraceTop = kTraceTop;
  s.TraceAreaBottom = s.PaneHeight - 50;
  s.TraceAreaWidth = s.PaneWidth - 70;
  s.TraceHeight = s.NrTraces <= 0 ? 100 : (s.PaneHeight - 50) / s.NrTraces;
  const int window = std::max(1, s.CurWindow);
  s.TraceFirstSample = ClampToStore(s, s.CurBegin);
  s.TraceLastSample = ClampToStore(s, std::min<int64_t>(int64_t(s.CurBegin) + window, s.SigLength));
  // At another rate than one sample per millisecond the window is converted to samples; every
  // row the recording filled can be drawn.
  if (s.SamplingFChanged) {
    s.TraceFirstSample = ClampToStore(s, RoundHalfEven(double(s.CurBegin) * s.SamplingF / 1000.0));
    s.TraceLastSample = ClampToStore(s, RoundHalfEven((double(s.CurBegin) + window) * s.SamplingF / 1000.0));
  }
  s.SampleWidth = s.SamplingF > 0 ? double(s.TraceAreaWidth) / window / s.SamplingF * 1000.0 : 0.0;
}

int TraceLayout::Centre(const AnalysisState& s, int trace) {
  return trace * s.TraceHeight + s.TraceTop - s.TraceHeight / 2;
}

int TraceLayout::BandTop(const AnalysisState& s, int trace) {
  return int(RoundHalfEven(Centre(s, trace) - s.TraceHeight / 2.0));
}

int TraceLayout::BandBottom(const AnalysisState& s, int trace) {
  return int(RoundHalfEven(Centre(s, trace) + s.TraceHeight / 2.0));
}

}  // namespace velmora
