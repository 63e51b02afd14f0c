#include "maps/VelocityCalculation.h"

#include <cmath>

#include "core/AnalysisState.h"
#include "maps/ArrowGeometry.h"
#include "maps/MapComputation.h"

namespace velmora {

std::optional<VelocityCalculation::Velocity> VelocityCalculation::SquareVelocity(int32_t a, int32_t b, int32_t c,
                                                                                 int32_t d, double distance,
                                                                                 int step) {
  if (a < 0 || b < 0 || c < 0 || d < 0) return std::nullopt;
  // Electrodes at no distance, or a step of no cells, give no gradient to divide by.
  if (!(distance > 0) || step < 1) return std::nullopt;
  const double across = 2.0 * distance * step;
  const double gx = ((double(b) + c) - (double(a) + d)) / across;
  const double gy = ((double(a) + b) - (double(c) + d)) / across;
  const double g2 = gx * gx + gy * gy;
  if (g2 == 0) return std::nullopt;
  Velocity v;
  v.vx = gx / g2;
  v.vy = gy / g2;
  v.speed = 100.0 * std::sqrt(v.vx * v.vx + v.vy * v.vy);
  return v;
}

// A fast square's arrow can be longer than the whole map: it is cut at the edge of the grid
// and keeps its head there, so its direction still shows. Its speed and direction are those
// of the whole arrow.
void VelocityCalculation::PlaceArrow(const AnalysisState& s, VelocityCell& square, PixelPoint start,
                                     const Velocity& v) {
  start = ArrowGeometry::InsideGrid(s, start);
  const PixelPoint whole = ArrowGeometry::ArrowTip(s, start, v.vx, v.vy);
  const PixelPoint tip = ArrowGeometry::ClipToGrid(s, start, whole);
  const ArrowGeometry::Head head = ArrowGeometry::ArrowHead(start, tip);
  const PixelPoint head1 = ArrowGeometry::InsideGrid(s, head.first);
  const PixelPoint head2 = ArrowGeometry::InsideGrid(s, head.second);
  square.Direction = ArrowGeometry::ArrowDirection(start, whole);
  square.StartX = start.x, square.StartY = start.y, square.EndX = tip.x, square.EndY = tip.y;
  square.Head1X = head1.x, square.Head1Y = head1.y, square.Head2X = head2.x, square.Head2Y = head2.y;
}

int VelocityCalculation::CalcVelocities(AnalysisState& s) {
  const int cols = MapComputation::UsedCols(s), rows = MapComputation::UsedRows(s);
  for (int x = 1; x <= cols; ++x) {
    for (int y = 1; y <= rows; ++y) s.Square(x, y).Speed = kNoValue;
  }
  const int d = s.IncVel;
  if (d < 1) return 0;
  int accepted = 0;
  for (int x = 1; x <= cols - d; ++x) {
    for (int y = 1; y <= rows - d; ++y) {
      const std::optional<Velocity> v = SquareVelocity(s.Cell(x, y + d).Value, s.Cell(x + d, y + d).Value,
                                                       s.Cell(x + d, y).Value, s.Cell(x, y).Value,
                                                       s.ElectrodeDistance, d);
      if (!v || (s.LimitCondVel && !(s.MaxCondVel > v->speed))) continue;
      VelocityCell& square = s.Square(x, y);
      square.Speed = v->speed;
      PlaceArrow(s, square, ArrowGeometry::ArrowStart(s, x, y, d), *v);
      ++accepted;
    }
  }
  return accepted;
}

}  // namespace velmora
