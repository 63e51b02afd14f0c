#include "maps/Isochrones.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

#include "core/AnalysisState.h"
#include "core/Arithmetic.h"
#include "core/Limits.h"
#include "maps/MapDrawing.h"

namespace velmora {

namespace {

constexpr int32_t kNoSmallest = 30000;
constexpr int32_t kNoLargest = -30000;

bool Crossed(int32_t a, int32_t b, int32_t level) {
  return (a < level && b >= level) || (b < level && a >= level);
}

// How far along an edge of `length` pixels from the corner valued `from` the level lies.
int Distance(int32_t from, int32_t to, int32_t level, int length) {
  const double ratio = double(std::abs(int64_t(level) - from)) * std::abs(length) /
                       double(std::abs(int64_t(from) - to));
  return int(std::abs(RoundHalfEven(ratio)));
}

}  // namespace

int32_t Isochrones::CornerValue(const AnalysisState& s, int column, int row) {
  const int32_t channel = s.GridCell(column, row);
  if (!MapDrawing::OnGrid(s, channel)) return s.NoValue;  // no electrode at this position
  const int32_t value = s.Cell(column, row).Value;
  if (value == s.NoValue || value == s.AltNoValue) return s.NoValue;
  if (s.CurMapKind == 0) {
    // Times in the map are relative to the reference time, the window is in recording time.
    const int64_t time = int64_t(value) + s.ReferenceTime;
    if (time < s.MapBegin || time > int64_t(s.MapBegin) + s.MapWindow) return s.NoValue;
  }
  return value;
}

int Isochrones::SquareCrossings(const AnalysisState& s, int column, int row, int32_t level,
                                std::array<Point, 4>& points) {
  const std::array<int32_t, 5> m = {CornerValue(s, column, row), CornerValue(s, column + 1, row),
                                    CornerValue(s, column + 1, row + 1), CornerValue(s, column, row + 1),
                                    CornerValue(s, column, row)};
  for (int j = 0; j < 4; ++j) {
    if (m[size_t(j)] == s.NoValue) return 0;
  }
  const auto [low, high] = std::minmax({m[0], m[1], m[2], m[3]});
  if (!(low < level && high >= level)) return 0;
  const std::array<Point, 4> c = {MapDrawing::CellCentre(s, column, row), MapDrawing::CellCentre(s, column + 1, row),
                                  MapDrawing::CellCentre(s, column + 1, row + 1),
                                  MapDrawing::CellCentre(s, column, row + 1)};
  const int width = c[1].x - c[0].x, height = c[2].y - c[1].y;
  int count = 0;
  if (Crossed(m[0], m[1], level)) points[size_t(count++)] = {c[0].x + Distance(m[0], m[1], level, width), c[0].y};
  if (Crossed(m[1], m[2], level)) points[size_t(count++)] = {c[1].x, c[1].y + Distance(m[1], m[2], level, height)};
  if (Crossed(m[2], m[3], level)) points[size_t(count++)] = {c[2].x - Distance(m[2], m[3], level, width), c[3].y};
  if (Crossed(m[3], m[4], level)) points[size_t(count++)] = {c[0].x, c[3].y - Distance(m[3], m[4], level, height)};
  return count;
}

void Isochrones::DrawLevel(const AnalysisState& s, Canvas& canvas, int32_t level) {
  std::array<Point, 4> points;
  const int cols = std::min(s.NrCols, kMaxGridCols), rows = std::min(s.NrRows, kMaxGridRows);
  for (int row = 1; row < rows; ++row) {
    for (int column = 1; column < cols; ++column) {
      const int count = SquareCrossings(s, column, row, level, points);
      for (int i = 1; i < count; ++i) {
        canvas.Line(points[size_t(i - 1)].x, points[size_t(i - 1)].y, points[size_t(i)].x, points[size_t(i)].y);
      }
    }
  }
}

void Isochrones::DrawIsochrones(const AnalysisState& s, Canvas& canvas, int penWidth) {
  const int32_t step = s.IsochroneStep;
  if (step < 1) return;
  const int cols = std::min(s.NrCols, kMaxGridCols), rows = std::min(s.NrRows, kMaxGridRows);
  canvas.SetPen(colours::kBlack, penWidth);
  int32_t smallest = kNoSmallest, largest = kNoLargest;
  for (int column = 1; column <= cols; ++column) {
    for (int row = 1; row <= rows; ++row) {
      const int32_t value = CornerValue(s, column, row);
      if (value == s.NoValue) continue;
      smallest = std::min(smallest, value);
      largest = std::max(largest, value);
    }
  }
  const int64_t first = smallest / step + 1, last = largest / step + 1;
  for (int64_t k = first; k <= last; ++k) {
    const int64_t level = k * step;
    if (level > std::numeric_limits<int32_t>::max()) break;  // above every value
    DrawLevel(s, canvas, int32_t(level));
  }
}

}  // namespace velmora
