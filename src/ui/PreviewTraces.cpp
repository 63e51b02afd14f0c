#include "ui/PreviewTraces.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "core/AnalysisState.h"
#include "core/Canvas.h"
#include "core/TraceChannel.h"

namespace velmora {

namespace {

constexpr int kTraceLeft = 30;
constexpr int kTraceTop = 10;
constexpr int kSpareBelow = 50;
constexpr int kSpareRight = 70;
// Keeps a wildly amplified trace within coordinates every painter handles.
constexpr int64_t kMaxOffsetPixels = 100000;

struct Layout {
  int64_t firstRow = 0;  // rows [firstRow, endRow) of the signal store are shown
  int64_t endRow = 0;
  int areaWidth = 0;
  int traceHeight = 0;
  int Centre(int trace) const { return trace * traceHeight + kTraceTop - traceHeight / 2; }
};

Layout LayOut(const AnalysisState& s, int width, int height) {
  Layout layout;
  const int64_t rate = s.SamplingF > 0 ? s.SamplingF : 1000;
  layout.firstRow = std::max<int64_t>(0, int64_t(s.CurBegin) * rate / 1000);
  const int64_t end = (int64_t(s.CurBegin) + s.CurWindow) * rate / 1000;
  layout.endRow = std::clamp<int64_t>(end, 0, std::min<int64_t>(s.SigLength, kSignalRows));
  layout.areaWidth = std::max(1, width - kSpareRight);
  layout.traceHeight = s.NrTraces > 0 ? (height - kSpareBelow) / s.NrTraces : 100;
  return layout;
}

int PixelsFor(int64_t value, double amplification) {
  const double pixels = std::nearbyint(double(value) * amplification);
  return int(std::clamp<double>(pixels, -kMaxOffsetPixels, kMaxOffsetPixels));
}

int64_t WindowMean(const AnalysisState& s, const Layout& layout, int column) {
  int64_t sum = 0;
  for (int64_t r = layout.firstRow; r < layout.endRow; ++r) sum += s.Signal(int(r), column);
  return sum / (layout.endRow - layout.firstRow);
}

// One point per sample while the samples fit the width; beyond that each pixel column gets
// the lowest and the highest sample that fall on it, so no peak disappears.
std::vector<Point> TracePoints(const AnalysisState& s, const Layout& layout, int column, int centre) {
  const int64_t count = layout.endRow - layout.firstRow;
  const int64_t mean = WindowMean(s, layout, column);
  auto y = [&](int64_t row) { return centre - PixelsFor(s.Signal(int(row), column) - mean, s.Amplification); };
  std::vector<Point> points;
  if (count <= 2 * int64_t(layout.areaWidth)) {
    points.reserve(size_t(count));
    for (int64_t r = layout.firstRow; r < layout.endRow; ++r)
      points.push_back({kTraceLeft + int((r - layout.firstRow) * layout.areaWidth / count), y(r)});
    return points;
  }
  points.reserve(size_t(layout.areaWidth) * 2);
  for (int x = 0; x < layout.areaWidth; ++x) {
    const int64_t from = layout.firstRow + count * x / layout.areaWidth;
    const int64_t to = layout.firstRow + count * (x + 1) / layout.areaWidth;
    int low = y(from), high = low;
    for (int64_t r = from + 1; r < to; ++r) {
      low = std::min(low, y(r));
      high = std::max(high, y(r));
    }
    points.push_back({kTraceLeft + x, low});
    if (high != low) points.push_back({kTraceLeft + x, high});
  }
  return points;
}

}  // namespace

void DrawPreviewTraces(const AnalysisState& s, Canvas& canvas, int width, int height) {
  canvas.SetPen(colours::kWhite);
  canvas.SetBrush(colours::kWhite);
  canvas.Rectangle(0, 0, width, height);
  if (!s.FileLoaded) return;
  const Layout layout = LayOut(s, width, height);
  if (layout.endRow <= layout.firstRow) return;
  canvas.SetFont(colours::kGreen, FontStyle{});
  for (int trace = 1; trace <= s.NrTraces; ++trace) {
    const int32_t channel = TraceChannel(s, trace);
    if (channel == kNoValue) continue;
    const int centre = layout.Centre(trace);
    canvas.TextOut(4, centre - 4, std::to_string(channel));
    canvas.SetPen(colours::kGreen);
    canvas.Polyline(TracePoints(s, layout, channel - 1, centre));
  }
  canvas.SetPen(colours::kBlack);
}

}  // namespace velmora
