#include "ui/TPrintForm.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/AnalysisState.h"
#include "core/Ui.h"
#include "ui/PagePrinter.h"
#include "ui/WindowButtons.h"

namespace velmora {

TPrintForm::TPrintForm(QWidget* shell, AnalysisState& state, Ui& ui, std::function<PrintSources()> sources)
    : QObject(shell),
      shell_(shell),
      state_(state),
      ui_(ui),
      sources_(std::move(sources)),
      printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
  BuildLayout();
}

TPrintForm::~TPrintForm() = default;

QGroupBox* TPrintForm::AddRadioGroup(const char* name, const char* caption, const QStringList& items,
                                     QButtonGroup*& group) {
  auto* box = new QGroupBox(caption, shell_);
  box->setObjectName(name);
  auto* column = new QVBoxLayout(box);
  group = new QButtonGroup(box);
  for (int i = 0; i < items.size(); ++i) {
    auto* button = new QRadioButton(items[i], box);
    group->addButton(button, i);
    column->addWidget(button);
  }
  return box;
}

void TPrintForm::BuildLayout() {
  auto* column = new QVBoxLayout(shell_);
  auto* title = new QLabel("Print Menu", shell_);
  QFont font = title->font();
  font.setBold(true);
  font.setPointSize(font.pointSize() * 3 / 2);
  title->setFont(font);
  column->addWidget(title);
  rectangleBox_ = AddRadioGroup("RadioGroupRectangle", "Panel to print:",
                                {"Print Top Panel", "Print Bottom Panel", "Print Both Panels", " "}, radioGroupRectangle_);
  // The blank item chooses nothing printable; it is kept out of reach.
  radioGroupRectangle_->button(3)->hide();
  column->addWidget(rectangleBox_);
  column->addWidget(AddRadioGroup("OrientationGroup", "Paper Orientation:", {"Landscape", "Portrait"}, orientationGroup_));
  column->addWidget(new QLabel("Caption:", shell_));
  editCaption_ = new QLineEdit(shell_);
  editCaption_->setObjectName("EditCaption");
  column->addWidget(editCaption_);
  checkPrintOnlyMarks_ = new QCheckBox("Do not print electrograms?", shell_);
  checkPrintOnlyMarks_->setObjectName("CheckPrintOnlyMarks");
  column->addWidget(checkPrintOnlyMarks_);
  squareBox_ = AddRadioGroup("RadioGroupSquare", "Panel to print:",
                             {"Print Left Panel", "Print Right Panel", "Print Both Panels"}, radioGroupSquare_);
  squareBox_->hide();
  column->addWidget(squareBox_);
  auto* buttons = new QHBoxLayout;
  connect(AddButton(shell_, buttons, "OK", "OK"), &QPushButton::clicked, this, &TPrintForm::OkClick);
  connect(AddButton(shell_, buttons, "Cancel", "Cancel"), &QPushButton::clicked, this, &TPrintForm::CancelClick);
  column->addLayout(buttons);
}

void TPrintForm::Print1Click() {
  rectangleBox_->setVisible(state_.TileStacked);
  squareBox_->setVisible(!state_.TileStacked);
  const int panel = settings_.PrintPanel >= 0 && settings_.PrintPanel <= 2 ? settings_.PrintPanel : 0;
  radioGroupRectangle_->button(panel)->setChecked(true);
  radioGroupSquare_->button(panel)->setChecked(true);
  orientationGroup_->button(settings_.PrintOrientation == 1 ? 1 : 0)->setChecked(true);
  editCaption_->setText(QString::fromStdString(state_.FileInfo));
  shell_->show();
  shell_->raise();
  shell_->activateWindow();
}

// The dialog is window-modal and answers later, so the main window's loop keeps running.
void TPrintForm::Printersetup1Click() {
  auto* dialog = new QPrintDialog(printer_.get(), shell_->parentWidget());
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  connect(dialog, &QDialog::finished, this, [this](int result) {
    // A window not shown yet is preset as "Print" does, so OK never prints blank choices.
    if (result == QDialog::Accepted) shell_->isVisible() ? shell_->raise() : Print1Click();
    emit closed();
  });
  dialog->open();
}

// Side by side the window shows the left/right group: that is the choice the user made.
int32_t TPrintForm::ChosenPanel() const {
  const QButtonGroup* group = squareBox_->isVisibleTo(shell_) ? radioGroupSquare_ : radioGroupRectangle_;
  const int chosen = group->checkedId();
  return chosen >= 0 && chosen <= 2 ? chosen : 0;
}

void TPrintForm::OkClick() {
  settings_.PrintPanel = ChosenPanel();
  settings_.PrintOrientation = orientationGroup_->checkedId() == 1 ? 1 : 0;
  state_.PrintOnlyMarks = checkPrintOnlyMarks_->isChecked();
  settings_.PrintCaption = editCaption_->text().toStdString();
  if (!PagePrinter::Print(*printer_, state_, settings_, sources_())) {
    const QString target = printer_->outputFileName().isEmpty() ? printer_->printerName() : printer_->outputFileName();
    ui_.Error("The page could not be printed on \"" + target.toStdString() + "\".");
    return;
  }
  shell_->hide();
  emit closed();
}

void TPrintForm::CancelClick() {
  shell_->hide();
  emit closed();
}

}  // namespace velmora
