#include "ui/StatusPanel.h"

#include <QFontMetrics>
#include <QLabel>

namespace velmora {

namespace {

// Pixels left free between a label's text and the next label.
constexpr int kGap = 6;

}  // namespace

StatusPanel::StatusPanel(QWidget* parent) : QWidget(parent) {
  setObjectName("StatusPanel");
  setFixedHeight(kHeight);
  // Each label ends a few pixels before the next one starts; the last one may run on.
  fileName_ = AddLabel("FileNameLabel", 14, 350);
  matrix_ = AddLabel("MatrixLabel", 370, 136);
  refTime_ = AddLabel("RefTime1", 512, 126);
  sigLength_ = AddLabel("SigLengthLabel", 644, 162);
  amplitude_ = AddLabel("AmplitudeLabel", 812, 240);
  note_ = AddLabel("NoteLabel", 1058, 700);
}

void StatusPanel::SetFitting(QLabel* label, const QString& text) {
  label->setText(label->fontMetrics().elidedText(text, Qt::ElideMiddle, label->width() - kGap));
}

QLabel* StatusPanel::AddLabel(const QString& objectName, int left, int width) {
  auto* label = new QLabel(this);
  label->setObjectName(objectName);
  label->setGeometry(left, 0, width, kHeight);
  label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  return label;
}

}  // namespace velmora
