#include "ui/PictureSizeDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>
#include <QSpinBox>

namespace velmora {

namespace {

QSpinBox* SideBox(const QString& name, int value, QWidget* parent) {
  auto* box = new QSpinBox(parent);
  box->setObjectName(name);
  box->setRange(1, PictureSizeDialog::kLargestSide);
  box->setSuffix(" px");
  box->setValue(value);
  return box;
}

}  // namespace

PictureSizeDialog::PictureSizeDialog(QSize paneSize, QWidget* parent) : QDialog(parent) {
  setObjectName("PictureSizeDialog");
  setWindowTitle("Picture size");
  width_ = SideBox("PictureWidth", paneSize.width(), this);
  height_ = SideBox("PictureHeight", paneSize.height(), this);
  paper_ = new QCheckBox("Print-friendly (black on white)", this);
  paper_->setObjectName("PicturePaper");
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  QPushButton* paneButton = buttons->addButton("Pane size", QDialogButtonBox::ResetRole);
  connect(paneButton, &QPushButton::clicked, this, [this, paneSize] {
    width_->setValue(paneSize.width());
    height_->setValue(paneSize.height());
  });
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QFormLayout(this);
  layout->addRow("Width:", width_);
  layout->addRow("Height:", height_);
  layout->addRow(paper_);
  layout->addRow(buttons);
}

PictureOptions PictureSizeDialog::Options() const {
  return {QSize(width_->value(), height_->value()), paper_->isChecked()};
}

void PictureSizeDialog::SetOptions(const PictureOptions& options) {
  width_->setValue(options.size.width());
  height_->setValue(options.size.height());
  paper_->setChecked(options.paper);
}

std::optional<PictureOptions> PictureSizeDialog::Ask(QSize paneSize, QWidget* parent) {
  PictureSizeDialog dialog(paneSize, parent);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.Options();
}

}  // namespace velmora
