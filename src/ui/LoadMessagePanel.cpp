#include "ui/LoadMessagePanel.h"

#include <QFontMetrics>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace velmora {

namespace {

constexpr int kMargin = 8;
constexpr int kLineHeight = 18;
constexpr int kTitleHeight = 20;
constexpr int kNameLeft = 96;
constexpr int kFileNameSpare = 30;
constexpr int kCancelWidth = 64;
constexpr int kCancelHeight = 24;

}  // namespace

LoadMessagePanel::LoadMessagePanel(QWidget* parent) : QFrame(parent) {
  setObjectName("MessagePanel");
  setFrameShape(QFrame::Panel);
  setFrameShadow(QFrame::Raised);
  setAutoFillBackground(true);
  title_ = AddLabel("MessageTitle", QString());
  title_->setAlignment(Qt::AlignCenter);
  QFont bold = title_->font();
  bold.setBold(true);
  title_->setFont(bold);
  text_ = AddLabel("MessageText", QString());
  text_->setAlignment(Qt::AlignCenter);
  fileCaption_ = AddLabel("FileNameCaption", "File  Name:");
  fileName_ = AddLabel("InputFileName1", QString());
  fileName_->setAlignment(Qt::AlignCenter);
  matrixCaption_ = AddLabel("MatrixNameCaption", "Matrix Name:");
  matrixName_ = AddLabel("InputMatrixName1", QString());
  bar_ = new QProgressBar(this);
  bar_->setObjectName("ProgressBar1");
  bar_->setTextVisible(false);
  cancel_ = new QPushButton("Cancel", this);
  cancel_->setObjectName("CancelButton");
  connect(cancel_, &QPushButton::clicked, this, [this] { cancelRequested_ = true; });
  resize(kStartWidth, kHeight);
  LayOut();
  hide();
}

QLabel* LoadMessagePanel::AddLabel(const QString& objectName, const QString& text) {
  auto* label = new QLabel(text, this);
  label->setObjectName(objectName);
  return label;
}

// A panel without a heading has no line left empty for it.
void LoadMessagePanel::LayOut() {
  const int inner = width() - 2 * kMargin;
  title_->setGeometry(kMargin, kMargin, inner, kLineHeight);
  title_->setVisible(!title_->text().isEmpty());
  const int top = kMargin + (title_->text().isEmpty() ? 0 : kTitleHeight);
  text_->setGeometry(kMargin, top, inner, kLineHeight);
  fileCaption_->setGeometry(kMargin, top + 22, kNameLeft - kMargin, kLineHeight);
  // The file name has a line of its own, centred, so a long name stays readable.
  fileName_->setGeometry(kMargin, top + 40, inner, kLineHeight);
  matrixCaption_->setGeometry(kMargin, top + 62, kNameLeft - kMargin, kLineHeight);
  matrixName_->setGeometry(kNameLeft, top + 62, width() - kNameLeft - kMargin, kLineHeight);
  bar_->setGeometry(kMargin, height() - kMargin - 16, inner - kCancelWidth - kMargin, 16);
  cancel_->setGeometry(width() - kMargin - kCancelWidth, height() - kMargin - kCancelHeight + 4, kCancelWidth,
                       kCancelHeight);
}

void LoadMessagePanel::Start(const QString& fileName, const QString& matrixName, int maximum, const QString& title) {
  const int nameWidth = QFontMetrics(fileName_->font()).horizontalAdvance(fileName);
  const int panelWidth = nameWidth > width() ? nameWidth + kFileNameSpare : width();
  const int panelHeight = title.isEmpty() ? kHeight - kTitleHeight : kHeight;
  resize(panelWidth, panelHeight);
  if (QWidget* owner = parentWidget())
    move((owner->width() - panelWidth) / 2, (owner->height() - panelHeight) / 2);
  title_->setText(title);
  LayOut();
  text_->clear();
  fileName_->setText(fileName);
  matrixName_->setText(matrixName);
  bar_->setRange(0, maximum);
  bar_->setValue(0);
  cancelRequested_ = false;
  show();
  raise();
}

void LoadMessagePanel::SetText(const QString& text) { text_->setText(text); }

void LoadMessagePanel::Step() {
  if (bar_->value() < bar_->maximum()) bar_->setValue(bar_->value() + 1);
}

void LoadMessagePanel::Finish() { hide(); }

}  // namespace velmora
