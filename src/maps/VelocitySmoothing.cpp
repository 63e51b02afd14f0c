#include "maps/VelocitySmoothing.h"

namespace velmora {

namespace {

// One neighbour of each opposite pair; the other is its mirror through the cell.
constexpr int kPairs[4][2] = {{1, 0}, {0, 1}, {1, 1}, {1, -1}};

double SmoothedAt(const TimeGrid& times, int col, int row) {
  double sum = times.At(col, row);
  int count = 1;
  for (const auto& pair : kPairs) {
    const int dx = pair[0], dy = pair[1];
    if (!times.Has(col + dx, row + dy) || !times.Has(col - dx, row - dy)) continue;
    sum += times.At(col + dx, row + dy) + times.At(col - dx, row - dy);
    count += 2;
  }
  return sum / count;
}

}  // namespace

TimeGrid VelocitySmoothing::Smoothed(const TimeGrid& times) {
  TimeGrid smoothed(times.Cols(), times.Rows());
  for (int col = 1; col <= times.Cols(); ++col) {
    for (int row = 1; row <= times.Rows(); ++row) {
      if (times.Has(col, row)) smoothed.Set(col, row, SmoothedAt(times, col, row));
    }
  }
  return smoothed;
}

}  // namespace velmora
