#include "ui/ReferenceTableWindow.h"

#include <optional>

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QWidget>

#include <fmt/format.h>

#include "commands/ValuePrompt.h"
#include "core/AnalysisState.h"
#include "core/Ui.h"
#include "history/MarkEditNames.h"
#include "marks/ReferenceTable.h"
#include "ui/WindowButtons.h"

namespace velmora {

namespace {

QLineEdit* AddEdit(QWidget* shell, const char* name, const char* text) {
  auto* edit = new QLineEdit(text, shell);
  edit->setObjectName(name);
  return edit;
}

// Text that is no whole number gets the same report as every other number field, naming it.
std::optional<int32_t> ReadInteger(Ui& ui, const QLineEdit* edit, const char* field) {
  const std::string text = edit->text().toStdString();
  const std::optional<int32_t> value = ValuePrompt::ParseInteger(text);
  if (!value) ui.Error(fmt::format("{}: '{}' is not a valid integer value", field, text));
  return value;
}

}  // namespace

ReferenceTableWindow::ReferenceTableWindow(QWidget* shell, AnalysisState& state, Ui& ui)
    : QObject(shell), shell_(shell), state_(state), ui_(ui), table_(std::make_unique<ReferenceTable>(state, ui)) {
  BuildLayout();
}

ReferenceTableWindow::~ReferenceTableWindow() = default;

void ReferenceTableWindow::BuildLayout() {
  grid_ = new QTableWidget(0, 3, shell_);
  grid_->setObjectName("RefGrid");
  grid_->horizontalHeader()->hide();
  grid_->verticalHeader()->hide();
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  connect(grid_, &QTableWidget::cellClicked, this, [this](int row, int) { RefGridSelectCell(row); });
  auto* headings = new QHBoxLayout;
  for (const char* heading : {"Nr:", "Electrode:", "Time:"}) headings->addWidget(new QLabel(heading, shell_));

  auto* current = new QGroupBox("Current: ", shell_);
  auto* currentForm = new QFormLayout(current);
  currentElectrode_ = new QLabel(current);
  currentTime_ = new QLabel(current);
  currentForm->addRow("Electrode:", currentElectrode_);
  currentForm->addRow("Time:", currentTime_);

  editNumber_ = AddEdit(shell_, "InsertRefNr", "1");
  connect(editNumber_, &QLineEdit::editingFinished, this, &ReferenceTableWindow::InsertRefNrChange);
  auto* insert = new QGroupBox("or insert a new reference time:", shell_);
  auto* insertForm = new QFormLayout(insert);
  editElectrode_ = AddEdit(insert, "InsertRefEle", "0");
  editTime_ = AddEdit(insert, "InsertRefTime", "0");
  insertForm->addRow("Electrode:", editElectrode_);
  insertForm->addRow("Time:", editTime_);
  auto* insertRow = new QHBoxLayout;
  insertButton_ = AddButton(insert, insertRow, "InsertButton", "Insert");
  insertButton_->setEnabled(false);
  insertForm->addRow(insertRow);
  for (QLineEdit* edit : {editElectrode_, editTime_})
    connect(edit, &QLineEdit::textEdited, insertButton_, [this] { insertButton_->setEnabled(true); });
  connect(insertButton_, &QPushButton::clicked, this, &ReferenceTableWindow::InsertButtonClick);

  auto* buttons = new QHBoxLayout;
  connect(AddButton(shell_, buttons, "Okbutton", "OK"), &QPushButton::clicked, this, &ReferenceTableWindow::OkbuttonClick);
  connect(AddButton(shell_, buttons, "CancelButton", "Cancel"), &QPushButton::clicked, this,
          &ReferenceTableWindow::CancelButtonClick);
  connect(AddButton(shell_, buttons, "DeleteButton", "Delete Reference"), &QPushButton::clicked, this,
          &ReferenceTableWindow::DeleteButtonClick);

  auto* layout = new QVBoxLayout(shell_);
  layout->addWidget(new QLabel("Click on reference time :", shell_));
  layout->addLayout(headings);
  layout->addWidget(grid_);
  layout->addWidget(current);
  layout->addWidget(new QLabel("or give the new reference nr: ", shell_));
  layout->addWidget(editNumber_);
  layout->addWidget(insert);
  layout->addLayout(buttons);
}

void ReferenceTableWindow::ShowTable() {
  const auto rows = table_->GridRows();
  grid_->clearContents();
  grid_->setRowCount(int(rows.size()));
  for (int row = 0; row < int(rows.size()); ++row)
    for (int column = 0; column < 3; ++column)
      grid_->setItem(row, column, new QTableWidgetItem(QString::fromStdString(rows[size_t(row)][size_t(column)])));
  currentElectrode_->setText(QString::number(table_->Chosen().electrode));
  currentTime_->setText(QString::number(table_->Chosen().time));
}

void ReferenceTableWindow::ReferenceTable1Click() {
  table_->UpdateReferenceTable();
  ShowTable();
  shell_->show();
  shell_->raise();
}

void ReferenceTableWindow::RefGridSelectCell(int row) {
  table_->RefGridSelectCell(row);
  editNumber_->setText(QString::number(table_->TypedNumber()));
  ShowTable();
}

void ReferenceTableWindow::InsertRefNrChange() {
  const std::optional<int32_t> number = ReadInteger(ui_, editNumber_, "Reference nr");
  if (number && table_->InsertRefNrChange(*number)) ShowTable();
}

void ReferenceTableWindow::InsertButtonClick() {
  const std::optional<int32_t> electrode = ReadInteger(ui_, editElectrode_, "Electrode");
  if (!electrode) return;
  const std::optional<int32_t> time = ReadInteger(ui_, editTime_, "Time");
  if (!time) return;
  const bool inserted = table_->InsertReference(*electrode, *time);
  ShowTable();
  if (inserted) emit marksEdited(MarkEditNames::kInsertReference);
}

void ReferenceTableWindow::DeleteButtonClick() {
  const bool deleted = table_->DeleteReference();
  ShowTable();
  if (deleted) emit marksEdited(MarkEditNames::kDeleteReference);
}

void ReferenceTableWindow::OkbuttonClick() {
  table_->TakeChosenReference();
  shell_->hide();
  emit closed();
}

void ReferenceTableWindow::CancelButtonClick() {
  shell_->hide();
  emit closed();
}

}  // namespace velmora
