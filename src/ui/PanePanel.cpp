#include "ui/PanePanel.h"

#include <QLabel>
#include <QScrollArea>
#include <QVBoxLayout>

#include "ui/PaneWidget.h"

namespace velmora {

PanePanel::PanePanel(const QString& letter, QWidget* parent) : QWidget(parent) {
  setObjectName("MainPanel" + letter);
  titleBar_ = new QLabel(this);
  titleBar_->setObjectName("TitleBar" + letter);
  titleBar_->setFixedHeight(kTitleBarHeight);
  titleBar_->setAlignment(Qt::AlignCenter);
  titleBar_->setAutoFillBackground(true);
  QFont font = titleBar_->font();
  font.setBold(true);
  font.setPixelSize(kTitleFontPixels);
  titleBar_->setFont(font);
  SetTitleColour(Qt::red);

  scrollBox_ = new QScrollArea(this);
  scrollBox_->setObjectName("ScrollBox" + letter);
  scrollBox_->setFrameShape(QFrame::NoFrame);
  // The paint area fills the scroll box; a drawing larger than the pane is a later matter.
  scrollBox_->setWidgetResizable(true);
  paint_ = new PaneWidget;
  paint_->setObjectName("Paint" + letter);
  scrollBox_->setWidget(paint_);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(titleBar_);
  layout->addWidget(scrollBox_, 1);
}

void PanePanel::SetCaption(const QString& caption) { titleBar_->setText(caption); }

QString PanePanel::Caption() const { return titleBar_->text(); }

void PanePanel::SetTitleColour(const QColor& colour) {
  QPalette palette = titleBar_->palette();
  palette.setColor(QPalette::Window, colour);
  palette.setColor(QPalette::WindowText, Qt::white);
  titleBar_->setPalette(palette);
}

}  // namespace velmora
