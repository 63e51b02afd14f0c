#include "maps/VelocityCalculation.h"

#include <cmath>

#include "core/AnalysisState.h"
#include "maps/ArrowGeometry.h"
#include "maps/MapComputation.h"
#include "maps/MapDrawing.h"
#include "maps/VelocityFit.h"
#include "maps/VelocitySmoothing.h"

namespace velmora {

namespace {

VelocityMethodKind MethodOf(const AnalysisState& s) {
  switch (s.VelocityMethod) {
    case 1: return VelocityMethodKind::Smoothed;
    case 2: return VelocityMethodKind::Fit;
    default: return VelocityMethodKind::Squares;
  }
}

}  // namespace

std::optional<VelocityCalculation::Velocity> VelocityCalculation::SquareVelocity(double a, double b, double c,
                                                                                 double d, double distance,
                                                                                 int step) {
  if (a < 0 || b < 0 || c < 0 || d < 0) return std::nullopt;
  // Electrodes at no distance, or a step of no cells, give no gradient to divide by.
  if (!(distance > 0) || step < 1) return std::nullopt;
  const double across = 2.0 * distance * step;
  const double gx = ((b + c) - (a + d)) / across;
  const double gy = ((a + b) - (c + d)) / across;
  Velocity v;
  if (!VelocityFromGradient(gx, gy, v)) return std::nullopt;
  return v;
}

std::vector<VelocityEstimate> VelocityCalculation::SquareEstimates(const TimeGrid& t, double distance, int d) {
  std::vector<VelocityEstimate> estimates;
  if (d < 1) return estimates;
  for (int x = 1; x <= t.Cols() - d; ++x) {
    for (int y = 1; y <= t.Rows() - d; ++y) {
      const std::optional<Velocity> v =
          SquareVelocity(t.At(x, y + d), t.At(x + d, y + d), t.At(x + d, y), t.At(x, y), distance, d);
      if (v) estimates.push_back({x, y, x + d / 2.0, y + d / 2.0, *v});
    }
  }
  return estimates;
}

std::vector<VelocityEstimate> VelocityCalculation::Estimate(const AnalysisState& s) {
  return Estimate(s, TimeGrid::FromMap(s));
}

std::vector<VelocityEstimate> VelocityCalculation::Estimate(const AnalysisState& s, const TimeGrid& times) {
  switch (MethodOf(s)) {
    case VelocityMethodKind::Smoothed:
      return SquareEstimates(VelocitySmoothing::Smoothed(times), s.ElectrodeDistance, s.IncVel);
    case VelocityMethodKind::Fit: return VelocityFit::Estimates(times, VelocityFit::SettingsOf(s));
    case VelocityMethodKind::Squares: break;
  }
  return SquareEstimates(times, s.ElectrodeDistance, s.IncVel);
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

PixelPoint VelocityCalculation::ArrowStartOf(const AnalysisState& s, const VelocityEstimate& e) {
  if (MethodOf(s) != VelocityMethodKind::Fit) return ArrowGeometry::ArrowStart(s, e.column, e.row, s.IncVel);
  const Point centre = MapDrawing::CellCentre(s, e.column, e.row);
  return {centre.x, centre.y};
}

int VelocityCalculation::CalcVelocities(AnalysisState& s) {
  const int cols = MapComputation::UsedCols(s), rows = MapComputation::UsedRows(s);
  for (int x = 1; x <= cols; ++x) {
    for (int y = 1; y <= rows; ++y) s.Square(x, y).Speed = kNoValue;
  }
  int accepted = 0;
  for (const VelocityEstimate& e : Estimate(s)) {
    if (s.LimitCondVel && !(s.MaxCondVel > e.velocity.speed)) continue;
    VelocityCell& square = s.Square(e.column, e.row);
    square.Speed = e.velocity.speed;
    PlaceArrow(s, square, ArrowStartOf(s, e), e.velocity);
    ++accepted;
  }
  return accepted;
}

}  // namespace velmora
