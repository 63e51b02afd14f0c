#include "ui/DataPadWindow.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QWidget>

namespace velmora {

DataPadWindow::DataPadWindow(QWidget* shell) : QObject(shell), shell_(shell) {
  grid_ = new QTableWidget(0, DataPadGrid::kColumns, shell_);
  grid_->setObjectName("DataGrid");
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  // Cells are addressed from 0 by the commands that write them; numbered headers from 1 would
  // only mislead, and a long path reads better on one line.
  grid_->horizontalHeader()->hide();
  grid_->verticalHeader()->hide();
  grid_->setWordWrap(false);
  okButton_ = new QPushButton("Ok", shell_);
  okButton_->setObjectName("Button1");
  connect(okButton_, &QPushButton::clicked, this, &DataPadWindow::Button1Click);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(okButton_);
  auto* layout = new QVBoxLayout(shell_);
  layout->addWidget(grid_);
  layout->addLayout(buttons);
  shell_->resize(640, 420);
  ShowCells();
}

void DataPadWindow::ShowDatapad(const std::string& recording) {
  model_.Initialize(recording);
  ShowCells();
  shell_->show();
  shell_->raise();
}

void DataPadWindow::ShowCells() {
  grid_->setRowCount(model_.RowCount());
  for (int row = 0; row < model_.RowCount(); ++row) {
    for (int column = 0; column < model_.ColumnCount(); ++column) {
      const QString text = QString::fromStdString(model_.Cell(column, row));
      QTableWidgetItem* item = grid_->item(row, column);
      if (item != nullptr) {
        item->setText(text);
      } else if (!text.isEmpty()) {
        grid_->setItem(row, column, new QTableWidgetItem(text));
      }
    }
  }
}

void DataPadWindow::Button1Click() {
  shell_->hide();
  emit okClicked();
}

}  // namespace velmora
