#pragma once

#include <QAbstractTableModel>

#include "results/WaveTable.h"

namespace velmora {

// The wave table for a view: the CSV's columns, the numbers as the CSV writes them, and the
// numbers themselves under the sort role so that sorting is by value; an empty field sorts
// before every number.
class WaveTableModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  static constexpr int kSortRole = Qt::UserRole + 1;

  explicit WaveTableModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

  void SetTable(WaveTable table);
  const WaveTable& Table() const { return table_; }

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  WaveTable table_;
  std::vector<QStringList> texts_;  // the CSV's fields of each row
};

}  // namespace velmora
