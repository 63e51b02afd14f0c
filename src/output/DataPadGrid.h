#pragma once

#include <string>
#include <vector>

namespace velmora {

// The data pad's small text grid: cells that commands write results into for the user to
// read or copy. Rows grow when a command writes past the last one.
class DataPadGrid {
 public:
  static constexpr int kStartRows = 300, kColumns = 7;

  DataPadGrid();

  // Puts `recording` in the top left cell of a grid of at least kStartRows rows. The other
  // cells keep what commands wrote there, so a table stays readable when the pad is shown.
  void Initialize(const std::string& recording);
  // Empties columns `first` to `last` of every row, before a command writes a new table there.
  void ClearColumns(int first, int last);
  // Writes a cell; a column outside the grid is ignored, a row past the end adds rows.
  void SetCell(int column, int row, std::string text);
  const std::string& Cell(int column, int row) const { return cells_[size_t(row)][size_t(column)]; }
  int RowCount() const { return int(cells_.size()); }
  int ColumnCount() const { return kColumns; }

 private:
  std::vector<std::vector<std::string>> cells_;
};

}  // namespace velmora
