#include "maps/VelocityArrows.h"

#include <algorithm>

#include "core/AnalysisState.h"
#include "core/Canvas.h"
#include "core/Limits.h"
#include "maps/VelocityEstimate.h"

namespace velmora {

bool VelocityArrows::MapKindHoldsTimes(uint8_t mapKind) {
  constexpr uint8_t kTimeMap = 0, kVelocityMap = 6;
  return mapKind == kTimeMap || mapKind == kVelocityMap;
}

bool VelocityArrows::Shown(const AnalysisState& s) { return s.PlotVelocities && MapKindHoldsTimes(s.CurMapKind); }

void VelocityArrows::DrawArrow(Canvas& canvas, const VelocityCell& q) {
  canvas.Line(q.StartX, q.StartY, q.EndX, q.EndY);
  canvas.Line(q.EndX, q.EndY, q.Head1X, q.Head1Y);
  canvas.Line(q.EndX, q.EndY, q.Head2X, q.Head2Y);
}

void VelocityArrows::DrawArrows(const AnalysisState& s, Canvas& canvas) {
  canvas.SetPen(colours::kBlack, 1);
  // A square's top-left cell names it, so with the square methods the last column and row
  // start none; the fit gives the electrodes there arrows of their own.
  const int fitted = s.VelocityMethod == int(VelocityMethodKind::Fit) ? 1 : 0;
  const int cols = std::min(s.NrCols, kMaxGridCols) + fitted, rows = std::min(s.NrRows, kMaxGridRows) + fitted;
  for (int row = 1; row < rows; ++row) {
    for (int column = 1; column < cols; ++column) {
      const VelocityCell& square = s.Square(column, row);
      if (square.Speed == double(s.NoValue)) continue;
      DrawArrow(canvas, square);
    }
  }
}

}  // namespace velmora
