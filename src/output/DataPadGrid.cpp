#include "output/DataPadGrid.h"

#include <algorithm>

namespace velmora {

DataPadGrid::DataPadGrid() : cells_(kStartRows, std::vector<std::string>(kColumns)) {}

void DataPadGrid::Initialize(const std::string& recording) {
  if (cells_.size() < size_t(kStartRows)) cells_.resize(kStartRows, std::vector<std::string>(kColumns));
  cells_[0][0] = recording;
}

void DataPadGrid::ClearColumns(int first, int last) {
  for (std::vector<std::string>& row : cells_)
    for (int column = std::max(first, 0); column <= std::min(last, kColumns - 1); ++column) row[size_t(column)].clear();
}

void DataPadGrid::SetCell(int column, int row, std::string text) {
  if (column < 0 || column >= kColumns || row < 0) return;
  if (size_t(row) >= cells_.size()) cells_.resize(size_t(row) + 1, std::vector<std::string>(kColumns));
  cells_[size_t(row)][size_t(column)] = std::move(text);
}

}  // namespace velmora
