#pragma once

#include <cstddef>
#include <vector>

namespace velmora {

struct AnalysisState;

// Activation times over the used part of the map grid as reals, for the velocity methods:
// they smooth and fit times, which the map's integer cells cannot hold. A cell without a
// usable time (empty, excluded or before the reference) holds a negative number.
class TimeGrid {
 public:
  TimeGrid(int cols, int rows) : cols_(cols), rows_(rows), times_(std::size_t(cols) * std::size_t(rows), kEmpty) {}
  // The Value fields of the map grid; negative values count as no time, as they always have
  // for velocities.
  static TimeGrid FromMap(const AnalysisState& state);

  int Cols() const { return cols_; }
  int Rows() const { return rows_; }
  bool Inside(int col, int row) const { return col >= 1 && row >= 1 && col <= cols_ && row <= rows_; }
  bool Has(int col, int row) const { return Inside(col, row) && At(col, row) >= 0; }
  double At(int col, int row) const { return times_[Index(col, row)]; }
  void Set(int col, int row, double time) { times_[Index(col, row)] = time; }

  static constexpr double kEmpty = -1;

 private:
  std::size_t Index(int col, int row) const { return std::size_t(col - 1) * std::size_t(rows_) + std::size_t(row - 1); }

  int cols_, rows_;
  std::vector<double> times_;
};

}  // namespace velmora
