#include "ui/WaveFormSettingsWindow.h"

#include <optional>

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>

#include <fmt/format.h>

#include "commands/ValuePrompt.h"
#include "core/AnalysisState.h"
#include "core/Ui.h"
#include "ui/WindowButtons.h"

namespace velmora {

namespace {

QCheckBox* AddCheck(QWidget* shell, QFormLayout* form, const char* name, const char* caption) {
  auto* check = new QCheckBox(caption, shell);
  check->setObjectName(name);
  form->addRow(check);
  return check;
}

}  // namespace

WaveFormSettingsWindow::WaveFormSettingsWindow(QWidget* shell, AnalysisState& state, Ui& ui)
    : QObject(shell), shell_(shell), state_(state), ui_(ui) {
  auto* form = new QFormLayout;
  editSignalLength_ = new QLineEdit(shell);
  editSignalLength_->setObjectName("EditSignalLength");
  form->addRow("Signal length:", editSignalLength_);
  checkGrid_ = AddCheck(shell, form, "CheckGrid", "Grid?");
  checkMarkAlign_ = AddCheck(shell, form, "CheckMarkAlign", "Mark align?");
  checkElgNr_ = AddCheck(shell, form, "CheckElgNr", "Plot Elg nr?");
  checkGridLabel_ = AddCheck(shell, form, "CheckGridLabel", "Grid label?");
  auto* buttons = new QHBoxLayout;
  connect(AddButton(shell, buttons, "OkButton", "OK"), &QPushButton::clicked, this, &WaveFormSettingsWindow::OkClick);
  connect(AddButton(shell, buttons, "CancelButton", "Cancel"), &QPushButton::clicked, this,
          &WaveFormSettingsWindow::CancelClick);
  auto* layout = new QVBoxLayout(shell);
  layout->addWidget(new QLabel("Wave Form Settings:", shell));
  layout->addLayout(form);
  layout->addLayout(buttons);
}

void WaveFormSettingsWindow::Show() {
  editSignalLength_->setText(QString::number(state_.WaveSignalLength));
  checkGrid_->setChecked(state_.WaveGrid);
  checkMarkAlign_->setChecked(state_.WaveMarkAlign);
  checkElgNr_->setChecked(state_.WavePlotElgNr);
  checkGridLabel_->setChecked(state_.WaveGridLabel);
  shell_->show();
  shell_->raise();
}

// A length that is no whole number is refused and the window stays open with what was typed,
// so nothing of the five is taken halfway.
void WaveFormSettingsWindow::OkClick() {
  const std::string text = editSignalLength_->text().toStdString();
  const std::optional<int32_t> length = ValuePrompt::ParseInteger(text);
  if (!length) {
    ui_.Error(fmt::format("Signal length: '{}' is not a valid integer value", text));
    return;
  }
  if (*length < 1) {
    ui_.Error(fmt::format("Signal length: {} samples draw nothing; give a whole number of at least 1", *length));
    return;
  }
  state_.WaveSignalLength = *length;
  state_.WaveGrid = checkGrid_->isChecked();
  state_.WaveMarkAlign = checkMarkAlign_->isChecked();
  state_.WavePlotElgNr = checkElgNr_->isChecked();
  state_.WaveGridLabel = checkGridLabel_->isChecked();
  shell_->hide();
  emit closed();
}

void WaveFormSettingsWindow::CancelClick() {
  shell_->hide();
  emit closed();
}

}  // namespace velmora
