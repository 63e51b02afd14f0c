#include "ui/WaveTableModel.h"

#include "output/ResultsCsv.h"

namespace velmora {

namespace {

constexpr int kPatternColumn = 12, kOriginColumn = 4;

QStringList Split(const std::string& line) { return QString::fromStdString(line).split(','); }

}  // namespace

void WaveTableModel::SetTable(WaveTable table) {
  beginResetModel();
  table_ = std::move(table);
  texts_.clear();
  // The fields are those of the CSV, so the window, its copies and the files agree.
  const QStringList lines = QString::fromStdString(ResultsCsv::WaveTableText(table_)).split('\n', Qt::SkipEmptyParts);
  for (int i = 1; i < lines.size(); ++i) texts_.push_back(lines[i].split(','));
  endResetModel();
}

int WaveTableModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : int(texts_.size()); }

int WaveTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : int(Split(ResultsCsv::kWaveHeader).size());
}

QVariant WaveTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= int(texts_.size())) return {};
  const QString& text = texts_[size_t(index.row())].value(index.column());
  if (role == Qt::DisplayRole) return text;
  if (role == Qt::TextAlignmentRole)
    return index.column() == kPatternColumn || index.column() == kOriginColumn ? int(Qt::AlignLeft | Qt::AlignVCenter)
                                                                                : int(Qt::AlignRight | Qt::AlignVCenter);
  if (role != kSortRole) return {};
  if (index.column() == kPatternColumn || index.column() == kOriginColumn) return text;
  bool number = false;
  const double value = text.toDouble(&number);
  return number ? QVariant(value) : QVariant(-1e300);
}

QVariant WaveTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return {};
  if (orientation == Qt::Vertical) return section + 1;
  return Split(ResultsCsv::kWaveHeader).value(section);
}

}  // namespace velmora
