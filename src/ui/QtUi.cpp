#include "ui/QtUi.h"

#include "core/EchoedText.h"
#include "core/VectorState.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QStringList>

#include "ui/LoadMessagePanel.h"
#include "ui/WorkbenchSettings.h"

namespace velmora {

namespace {

QString ToQString(const std::string& text) { return QString::fromStdString(text); }

QString BoxTitle() { return QGuiApplication::applicationDisplayName(); }

}  // namespace

QtUi::QtUi(QWidget* dialogParent, LoadMessagePanel* progress, QPlainTextEdit* memo)
    : dialogParent_(dialogParent), progress_(progress), memo_(memo) {}

std::unique_ptr<QtUi> QtUi::ForWindow(QWidget* window) const {
  auto made = std::make_unique<QtUi>(window, progress_, memo_);
  made->owner_ = this;
  return made;
}

QWidget* QtUi::DialogParent() const {
  if (owner_ != nullptr && !dialogParent_->isVisible()) return owner_->DialogParent();
  return dialogParent_;
}

void QtUi::Beep() { QApplication::beep(); }

void QtUi::Message(const std::string& text) {
  QMessageBox::information(DialogParent(), BoxTitle(), ToQString(EchoedText::Lines(text)));
}

void QtUi::CaptionedMessage(const std::string& caption, const std::string& text) {
  QMessageBox::information(DialogParent(), ToQString(caption), ToQString(EchoedText::Lines(text)));
}

void QtUi::Error(const std::string& text) {
  QMessageBox::warning(DialogParent(), BoxTitle(), ToQString(EchoedText::Lines(text)));
}

Ui::Answer QtUi::AskYesNoCancel(const std::string& text) {
  const auto button =
      QMessageBox::warning(DialogParent(), BoxTitle(), ToQString(EchoedText::Lines(text)),
                           QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
  if (button == QMessageBox::Yes) return Answer::Yes;
  if (button == QMessageBox::No) return Answer::No;
  return Answer::Cancel;
}

std::optional<std::string> QtUi::InputQuery(const std::string& caption, const std::string& prompt,
                                            const std::string& value) {
  bool confirmed = false;
  const QString text = QInputDialog::getText(DialogParent(), ToQString(caption), ToQString(prompt),
                                             QLineEdit::Normal, ToQString(value), &confirmed);
  if (!confirmed) return std::nullopt;
  return text.toStdString();
}

std::optional<Ui::FileDialogResult> QtUi::OpenFileDialog(const FileDialogRequest& request) {
  return RunFileDialog(request, false);
}

std::optional<Ui::FileDialogResult> QtUi::SaveFileDialog(const FileDialogRequest& request) {
  return RunFileDialog(request, true);
}

std::optional<Ui::FileDialogResult> QtUi::RunFileDialog(const FileDialogRequest& asked, bool save) {
  const DataRoot* root = DialogRoot();
  const FileDialogRequest request = root ? WorkbenchSettings(*root).Recall(asked, save) : asked;
  QStringList filters;
  for (const std::string& filter : request.filters) filters << ToQString(filter);
  QFileDialog dialog(DialogParent(), ToQString(request.title), ToQString(request.folder));
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  dialog.setNameFilters(filters);
  if (request.filterIndex >= 1 && request.filterIndex <= filters.size())
    dialog.selectNameFilter(filters[request.filterIndex - 1]);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  // The caller learns which filter was chosen: it decides how the file is read.
  const int chosen = int(filters.indexOf(dialog.selectedNameFilter()));
  const FileDialogResult result{dialog.selectedFiles().first().toStdString(), chosen >= 0 ? chosen + 1 : request.filterIndex};
  if (root) WorkbenchSettings(*root).Remember(asked, result, save);
  return result;
}

void QtUi::ShowProgress(const ProgressPanel& panel) {
  progress_->Start(ToQString(panel.fileName), ToQString(panel.matrixName), panel.maximum, ToQString(panel.title));
}

void QtUi::SetProgressText(const std::string& text) { progress_->SetText(ToQString(text)); }

void QtUi::StepProgress() {
  progress_->Step();
  ClearUpperVectorState();
}

void QtUi::HideProgress() { progress_->Finish(); }

void QtUi::ProcessEvents() {
  QCoreApplication::processEvents();
  ClearUpperVectorState();  // the load's loops go on after this (see VectorState.h)
}

bool QtUi::CancelRequested() { return progress_->CancelRequested(); }

void QtUi::Log(const std::string& line) { memo_->appendPlainText(ToQString(line)); }

}  // namespace velmora
