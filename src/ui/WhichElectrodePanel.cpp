#include "ui/WhichElectrodePanel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace velmora {

WhichElectrodePanel::WhichElectrodePanel(QWidget* parent) : QFrame(parent) {
  setObjectName("WhichElectrodePanel");
  setFrameStyle(QFrame::Panel | QFrame::Raised);
  setAutoFillBackground(true);
  edit_ = new QLineEdit(this);
  edit_->setObjectName("EditWhichEle");
  ok_ = new QPushButton("Ok", this);
  ok_->setObjectName("OkButton");
  cancel_ = new QPushButton("Cancel", this);
  cancel_->setObjectName("CancelButton");
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(ok_);
  buttons->addWidget(cancel_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel("Make connections between neighbouring marks", this));
  layout->addWidget(new QLabel("Which electrode number?", this));
  layout->addWidget(edit_);
  layout->addLayout(buttons);
  connect(ok_, &QPushButton::clicked, this, &WhichElectrodePanel::okClicked);
  connect(edit_, &QLineEdit::returnPressed, this, &WhichElectrodePanel::okClicked);
  connect(cancel_, &QPushButton::clicked, this, &WhichElectrodePanel::cancelClicked);
  adjustSize();
  move(kLeft, kTop);
  hide();
}

void WhichElectrodePanel::ShowPanel() {
  show();
  raise();
  edit_->setFocus();
  edit_->selectAll();
}

}  // namespace velmora
