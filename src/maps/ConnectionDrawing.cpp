#include "maps/ConnectionDrawing.h"

#include <utility>

#include "core/AnalysisState.h"
#include "core/Arithmetic.h"
#include "core/Canvas.h"
#include "maps/ArrowGeometry.h"
#include "marks/TraceLayout.h"

namespace velmora {

namespace {

int TimeX(const AnalysisState& s, int32_t time) {
  return int(RoundHalfEven((double(time) - s.CurBegin) * s.SampleWidth)) + s.TraceLeft;
}

void DrawArrow(Canvas& canvas, PixelPoint start, PixelPoint tip, int32_t headLength) {
  canvas.Line(start.x, start.y, tip.x, tip.y);
  const ArrowGeometry::Head head = ArrowGeometry::ArrowHead(start, tip, headLength);
  canvas.Line(tip.x, tip.y, head.first.x, head.first.y);
  canvas.Line(tip.x, tip.y, head.second.x, head.second.y);
}

}  // namespace

void ConnectionDrawing::DrawConnections(const AnalysisState& s, Canvas& canvas, int trace, int32_t channel) {
  // Deleted records carry a channel below 1; a trace without a channel must not bring them back.
  if (channel < 1) return;
  canvas.SetPen(colours::kFuchsia, 1);  // magenta
  const int32_t headLength = int32_t(RoundHalfEven(s.TraceHeight / 4.0));
  for (int n = 1; n <= s.ConnectionCount; ++n) {
    const ConnectionRecord& r = s.Connection(n);
    if (r.FromChannel != channel) continue;
    const int target = trace + (r.ToChannel - channel);
    PixelPoint start{TimeX(s, r.FromTime), TraceLayout::Centre(s, trace)};
    PixelPoint tip{TimeX(s, r.ToTime), TraceLayout::Centre(s, target)};
    if (r.Direction == -1) std::swap(start, tip);
    DrawArrow(canvas, start, tip, headLength);
  }
  canvas.SetPen(colours::kBlack, 1);
  canvas.SetBrush(colours::kWhite);
}

}  // namespace velmora
