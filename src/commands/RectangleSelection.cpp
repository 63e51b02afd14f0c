#include "commands/RectangleSelection.h"

#include <algorithm>

#include "core/AnalysisState.h"
#include "core/Arithmetic.h"
#include "core/TraceChannel.h"
#include "marks/AutomaticMarking.h"
#include "marks/MarkStore.h"
#include "marks/TraceLayout.h"

namespace velmora {

void RectangleSelection::StretchToPointer() {
  AnalysisState& s = state_;
  s.ShapeLeft = std::min(s.ShapeAnchorX, s.PointerX);
  s.ShapeRight = std::max(s.ShapeAnchorX, s.PointerX);
  s.ShapeTop = std::min(s.ShapeAnchorY, s.PointerY);
  s.ShapeBottom = std::max(s.ShapeAnchorY, s.PointerY);
}

// Sample counts from the pane's begin, as the pointer searches count them.
int32_t RectangleSelection::TimeAt(int x) const {
  const AnalysisState& s = state_;
  if (!(s.SampleWidth > 0)) return s.CurBegin;
  return s.CurBegin + int32_t(RoundHalfEven((x - s.TraceLeft) / s.SampleWidth));
}

template <typename Action>
int RectangleSelection::ForTracesInside(Action action) {
  const AnalysisState& s = state_;
  const int32_t from = std::max(TimeAt(s.ShapeLeft), 0);
  const int32_t to = TimeAt(s.ShapeRight);
  int done = 0;
  for (int trace = 1; trace <= s.NrTraces && from <= to; ++trace) {
    const int centre = TraceLayout::Centre(s, trace);
    const int32_t channel = TraceChannel(s, trace);
    if (centre <= s.ShapeTop || centre >= s.ShapeBottom || channel == kNoValue) continue;
    done += action(channel, from, to);
  }
  return done;
}

int RectangleSelection::MarkInside(AutomaticMarking& marking) {
  const int kind = state_.MarkType[0];
  return ForTracesInside([&](int32_t channel, int32_t from, int32_t to) {
    const int32_t half = (to - from + 1) / 2;
    return marking.SearchAround(channel, from + half, half, kind, kind) == kNoValue ? 0 : 1;
  });
}

int RectangleSelection::DeleteInside() {
  const int kind = state_.MarkType[0];
  const int deleted = ForTracesInside([&](int32_t channel, int32_t from, int32_t to) {
    return int(MarkStore::RemoveMarks(state_, ui_, channel, kind, from, to).size());
  });
  if (deleted > 0) state_.MarksChanged = true;
  return deleted;
}

}  // namespace velmora
