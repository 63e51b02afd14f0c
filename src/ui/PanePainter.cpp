#include "ui/PanePainter.h"

#include "output/PaperCanvas.h"
#include "ui/PaneWidget.h"
#include "ui/QtCanvas.h"

namespace velmora {

PanePainter::PanePainter(PaneWidget& pane) : size_(pane.DrawSize()) {
  if (const PaneWidget::Picture* picture = pane.CurrentPicture()) {
    // A vector picture has one painter from start to end; each drawing of it leaves the
    // painter as it found it.
    painter_ = picture->painter;
    painter_->save();
    canvas_ = std::make_unique<QtCanvas>(*painter_);
    if (picture->paper) paper_ = std::make_unique<PaperCanvas>(*canvas_);
    return;
  }
  own_ = std::make_unique<QPainter>(&pane.BackBuffer());
  painter_ = own_.get();
  canvas_ = std::make_unique<QtCanvas>(*painter_);
}

PanePainter::~PanePainter() {
  canvas_.reset();
  if (!own_) painter_->restore();
}

Canvas& PanePainter::Surface() {
  if (paper_) return *paper_;
  return *canvas_;
}

}  // namespace velmora
