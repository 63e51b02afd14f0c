#include "ui/StatisticsWindow.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>

namespace velmora {

StatisticsWindow::StatisticsWindow(QWidget* shell) : QObject(shell), shell_(shell) {
  memo_ = new QPlainTextEdit(shell);
  memo_->setObjectName("StatsMemo");
  memo_->setReadOnly(true);
  QFont fixed("DejaVu Sans Mono");
  fixed.setStyleHint(QFont::Monospace);
  memo_->setFont(fixed);  // the columns of the interval lines line up
  auto* ok = new QPushButton("Ok", shell);
  ok->setObjectName("StatsOkButton");
  auto* save = new QPushButton("save as text", shell);
  save->setObjectName("StatsSaveButton");
  connect(ok, &QPushButton::clicked, this, [this] {
    shell_->hide();
    emit okClicked();
  });
  connect(save, &QPushButton::clicked, this, &StatisticsWindow::saveClicked);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(ok);
  buttons->addWidget(save);
  auto* layout = new QVBoxLayout(shell);
  layout->addWidget(memo_);
  layout->addLayout(buttons);
  shell->resize(560, 420);
}

void StatisticsWindow::SetLines(const std::vector<std::string>& lines) {
  memo_->clear();
  AppendLines(lines);
}

void StatisticsWindow::AppendLines(const std::vector<std::string>& lines) {
  for (const std::string& line : lines) memo_->appendPlainText(QString::fromStdString(line));
}

void StatisticsWindow::Show() {
  shell_->show();
  shell_->raise();
}

}  // namespace velmora
