#include "marks/TimeCursor.h"

#include "core/AnalysisState.h"
#include "core/Arithmetic.h"

namespace velmora {

std::optional<int> TimeCursor::X(const AnalysisState& s, int32_t time) {
  // The same sample-to-pixel rule the marks on the traces are placed by.
  const double sample = double(time) * s.SamplingF / 1000.0;
  const int x = s.TraceLeft + int(RoundHalfEven((sample - s.TraceFirstSample) * s.SampleWidth));
  if (x < s.TraceLeft || x > s.TraceLeft + s.TraceAreaWidth) return std::nullopt;
  return x;
}

void TimeCursor::Draw(const AnalysisState& s, Canvas& canvas, int32_t time) {
  const std::optional<int> x = X(s, time);
  if (!x) return;
  canvas.SetPen(kColour, 1, PenMode::Copy);
  canvas.Line(*x, s.TraceTop, *x, s.TraceTop + s.TraceAreaBottom);
}

}  // namespace velmora
