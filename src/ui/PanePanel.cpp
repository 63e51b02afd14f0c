#include "ui/PanePanel.h"

#include <QScrollArea>
#include <QVBoxLayout>

#include "ui/PaneWidget.h"

namespace velmora {

PanePanel::PanePanel(const QString& letter, QWidget* parent) : QWidget(parent) {
  setObjectName("MainPanel" + letter);
  bar_ = new TitleBar(letter, this);

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
  layout->addWidget(bar_);
  layout->addWidget(scrollBox_, 1);
}

void PanePanel::SetCaption(const QString& caption) { bar_->SetCaption(caption); }

QString PanePanel::Caption() const { return bar_->Caption(); }

void PanePanel::SetTitleColour(const QColor& colour) { bar_->SetColour(colour); }

}  // namespace velmora
