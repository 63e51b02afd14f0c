#include "maps/TimeGrid.h"

#include "core/AnalysisState.h"
#include "maps/MapComputation.h"

namespace velmora {

TimeGrid TimeGrid::FromMap(const AnalysisState& s) {
  TimeGrid grid(MapComputation::UsedCols(s), MapComputation::UsedRows(s));
  for (int col = 1; col <= grid.cols_; ++col) {
    for (int row = 1; row <= grid.rows_; ++row) {
      const int32_t value = s.Cell(col, row).Value;
      if (value >= 0) grid.Set(col, row, double(value));
    }
  }
  return grid;
}

}  // namespace velmora
