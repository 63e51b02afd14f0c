#include "ui/MarkStatisticsWindow.h"

#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QWidget>

#include "marks/MarkStore.h"

namespace velmora {

MarkStatisticsWindow::MarkStatisticsWindow(QWidget* shell) : QObject(shell), shell_(shell) {
  grid_ = new QTableWidget(4, 4, shell);
  grid_->setObjectName("MarkStatsGrid");
  grid_->horizontalHeader()->hide();
  grid_->verticalHeader()->hide();
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  const char* columns[] = {"", "# marks", "# manual", "# automatic"};
  const char* rows[] = {"", "References", "Slow Waves", "Spikes"};
  for (int i = 0; i < 4; ++i) {
    grid_->setItem(0, i, new QTableWidgetItem(columns[i]));
    grid_->setItem(i, 0, new QTableWidgetItem(rows[i]));
  }
  auto* ok = new QPushButton("OK", shell);
  ok->setObjectName("MarkStatsOkButton");
  connect(ok, &QPushButton::clicked, this, [this] {
    shell_->hide();
    emit okClicked();
  });
  auto* layout = new QVBoxLayout(shell);
  layout->addWidget(grid_);
  layout->addWidget(ok);
  shell->resize(460, 220);
}

void MarkStatisticsWindow::Fill(const MarkStatistics& counts) {
  auto put = [this](int row, int column, int value) {
    grid_->setItem(row, column, new QTableWidgetItem(QString::number(value)));
  };
  put(1, 1, counts.references);
  put(2, 1, counts.slowWaves);
  put(2, 2, counts.slowWavesManual);
  put(2, 3, counts.slowWavesAutomatic);
  put(3, 1, counts.spikes);
  put(3, 2, counts.spikesManual);
  put(3, 3, counts.spikesAutomatic);
}

void MarkStatisticsWindow::Show() {
  shell_->show();
  shell_->raise();
}

}  // namespace velmora
