#include "maps/ArrowGeometry.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "core/AnalysisState.h"
#include "core/Arithmetic.h"

namespace velmora {

namespace {

// The angle arithmetic has always used these rounded values of pi and 2 pi; keeping them
// keeps head points and directions identical to earlier results.
constexpr double kPi = 3.1417;
constexpr double kTwoPi = 6.2834;

// Screen angle of the shaft in radians (y down), brought into 0..2pi by quadrant.
double ShaftAngle(double dx, double dy) {
  double a = std::atan(dy / dx);
  if (dx < 0) {
    a += kPi;
  } else if (dy < 0) {
    a += kTwoPi;
  }
  return a;
}

int32_t Rounded(double v) { return int32_t(RoundHalfEven(v)); }

}  // namespace

ArrowGeometry::Head ArrowGeometry::ArrowHead(PixelPoint start, PixelPoint tip, int32_t length) {
  const int32_t L = length;
  if (start == tip) return {tip, tip};
  if (start.y == tip.y) {
    const int32_t back = tip.x > start.x ? tip.x - L : tip.x + L;
    return {{back, tip.y + L}, {back, tip.y - L}};
  }
  if (start.x == tip.x) {
    if (tip.y > start.y) return {{tip.x - L, tip.y - L}, {tip.x + L, tip.y - L}};
    return {{tip.x + L, tip.y + L}, {tip.x - L, tip.y + L}};
  }
  const double a = ShaftAngle(double(tip.x - start.x), double(tip.y - start.y));
  const PixelPoint first{Rounded(tip.x - L * std::cos(a - 0.5)), Rounded(tip.y - L * std::sin(a - 0.5))};
  const PixelPoint second{Rounded(tip.x - L * std::cos(a + 0.5)), Rounded(tip.y - L * std::sin(a + 0.5))};
  return {first, second};
}

double ArrowGeometry::ArrowDirection(PixelPoint start, PixelPoint tip) {
  const int32_t run = tip.x - start.x, rise = start.y - tip.y;
  if (run == 0 && rise == 0) return 0;
  if (rise == 0) return run > 0 ? 0 : 180;
  if (run == 0) return rise > 0 ? 90 : 270;
  const double degrees = ShaftAngle(double(run), double(rise)) * 180.0 / std::numbers::pi;
  if (degrees < 0) return 0;
  return degrees >= 360 ? 0 : degrees;
}

PixelPoint ArrowGeometry::ArrowStart(const AnalysisState& s, int column, int row, int step) {
  const int32_t left = (column - 1) * s.CellWidth + s.MapLeft;
  const int32_t right = left + s.CellWidth - 1;
  const int32_t top = (row - 1) * s.CellHeight + s.MapTop;
  const int32_t bottom = top + s.CellHeight;
  return {right + Rounded((step - 1) * double(s.CellWidth) / 2), bottom + Rounded((step - 1) * double(s.CellHeight) / 2)};
}

PixelPoint ArrowGeometry::ArrowTip(const AnalysisState& s, PixelPoint start, double vx, double vy) {
  return {start.x + Rounded(vx * s.ArrowSize), start.y + Rounded(vy * s.ArrowSize)};
}

PixelPoint ArrowGeometry::InsideGrid(const AnalysisState& s, PixelPoint p) {
  // A pane too small for cells has its right edge left of its left one.
  const int32_t right = std::max(s.MapLeft, s.MapRight), bottom = std::max(s.MapTop, s.MapBottom);
  return {std::clamp(p.x, s.MapLeft, right), std::clamp(p.y, s.MapTop, bottom)};
}

PixelPoint ArrowGeometry::ClipToGrid(const AnalysisState& s, PixelPoint start, PixelPoint tip) {
  if (InsideGrid(s, tip) == tip) return tip;
  const double dx = tip.x - start.x, dy = tip.y - start.y;
  // The share of the shaft left inside the grid: the nearest of the edges it crosses.
  double share = 1.0;
  if (tip.x > s.MapRight) share = std::min(share, (s.MapRight - start.x) / dx);
  if (tip.x < s.MapLeft) share = std::min(share, (s.MapLeft - start.x) / dx);
  if (tip.y > s.MapBottom) share = std::min(share, (s.MapBottom - start.y) / dy);
  if (tip.y < s.MapTop) share = std::min(share, (s.MapTop - start.y) / dy);
  share = std::max(share, 0.0);
  return InsideGrid(s, {start.x + Rounded(share * dx), start.y + Rounded(share * dy)});
}

}  // namespace velmora
