#include "ui/TMacForm.h"

#include <algorithm>

#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/AnalysisState.h"
#include "core/Errors.h"
#include "core/Ui.h"
#include "output/ExportRefused.h"
#include "output/MacExport.h"
#include "ui/PanePanel.h"
#include "ui/PaneWidget.h"
#include "ui/TMainF.h"
#include "ui/WindowButtons.h"
#include "ui/WindowSet.h"

namespace velmora {

TMacForm& TMacForm::Of(TMainF& main) {
  QWidget* shell = main.Windows().Find("TMacForm");
  if (auto* form = shell->findChild<TMacForm*>(QString(), Qt::FindDirectChildrenOnly)) return *form;
  return *new TMacForm(shell, main);
}

TMacForm::TMacForm(QWidget* shell, TMainF& main) : QObject(shell), shell_(shell), main_(main) { BuildLayout(); }

void TMacForm::BuildLayout() {
  auto* layout = new QVBoxLayout(shell_);
  warning_ = new QLabel("WARNING; only content of Display A is copied!", shell_);
  QFont bold = warning_->font();
  bold.setBold(true);
  warning_->setFont(bold);
  layout->addWidget(warning_);

  auto* group = new QGroupBox("Copy to Mac facility", shell_);
  auto* groupLayout = new QVBoxLayout(group);
  items_ = new QButtonGroup(this);
  const char* captions[] = {"Copy Map", "Copy Electrograms", "Copy EleMap"};
  for (int index = 0; index < 3; ++index) {
    auto* item = new QRadioButton(captions[index], group);
    groupLayout->addWidget(item);
    items_->addButton(item, index);
  }
  items_->button(0)->setChecked(true);
  layout->addWidget(group);

  auto* buttons = new QHBoxLayout;
  ok_ = AddButton(shell_, buttons, "OKbutton", "OK");
  cancel_ = AddButton(shell_, buttons, "CancelButton", "Cancel");
  layout->addLayout(buttons);
  connect(ok_, &QPushButton::clicked, this, &TMacForm::OKbuttonClick);
  connect(cancel_, &QPushButton::clicked, this, &TMacForm::CancelButtonClick);
}

QRadioButton* TMacForm::Item(int index) const { return qobject_cast<QRadioButton*>(items_->button(index)); }

void TMacForm::SavetoMac1Click() {
  shell_->show();
  shell_->raise();
  shell_->activateWindow();
  main_.UpdateDisplay();
}

void TMacForm::OKbuttonClick() {
  // The update draws pane B after pane A, and a map or window of B would be copied instead:
  // pane A is drawn again so the copy is of what the warning promises.
  main_.UpdateDisplayA();
  const PaneWidget* paint = main_.PaneA()->Paint();
  const auto item = MacExport::Item(std::max(0, items_->checkedId()));
  try {
    MacExport::SaveCopy(main_.State(), main_.ActiveUi(), item, paint->width(), paint->height());
  } catch (const IoError& error) {
    main_.ActiveUi().Error(error.what());
  } catch (const ExportRefused& refused) {
    main_.ActiveUi().Error(refused.what());
  }
  shell_->hide();
  main_.UpdateDisplay();
}

void TMacForm::CancelButtonClick() {
  shell_->hide();
  main_.UpdateDisplay();
}

}  // namespace velmora
