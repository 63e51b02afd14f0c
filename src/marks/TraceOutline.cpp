#include "marks/TraceOutline.h"

#include "core/AnalysisState.h"
#include "core/Canvas.h"
#include "core/TraceChannel.h"

namespace velmora {

void TraceOutline::OutlineTracesOnMap(const AnalysisState& s, Canvas& canvas) {
  if (s.CellWidth <= 0 || s.CellHeight <= 0) return;  // no map laid out yet
  canvas.SetPen(colours::kBlack, 2);
  canvas.SetBrush(colours::kWhite, BrushStyle::Clear);
  for (int trace = 1; trace <= s.NrTraces; ++trace) {
    const int32_t channel = TraceChannel(s, trace);
    if (channel == kNoValue) continue;
    const int x = s.ElectrodeX[size_t(channel - 1)], y = s.ElectrodeY[size_t(channel - 1)];
    if (x < 1 || y < 1) continue;  // not on the grid
    const int left = (x - 1) * s.CellWidth + s.MapLeft;
    const int top = (y - 1) * s.CellHeight + s.MapTop;
    // The cell's rectangle one pixel wider and higher, so the outline covers the cell's own edges.
    canvas.Rectangle(left, top, left + s.CellWidth + 1, top + s.CellHeight + 1);
  }
  canvas.SetPen(colours::kBlack, 1);
  canvas.SetBrush(colours::kWhite, BrushStyle::Solid);
}

}  // namespace velmora
