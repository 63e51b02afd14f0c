#include "ui/PaneRouter.h"

#include <QPainter>

#include "core/AnalysisState.h"
#include "ui/PaneWidget.h"
#include "ui/QtCanvas.h"

namespace velmora {

struct PaneRouter::Target {
  explicit Target(PaneWidget* paneWidget) : pane(paneWidget), painter(&paneWidget->BackBuffer()), canvas(painter) {}
  PaneWidget* pane;
  QPainter painter;
  QtCanvas canvas;
};

PaneRouter::PaneRouter(const AnalysisState& state, PaneWidget* paneA, PaneWidget* paneB) : state_(state) {
  targets_.push_back(std::make_unique<Target>(paneA));
  targets_.push_back(std::make_unique<Target>(paneB));
}

PaneRouter::~PaneRouter() {
  for (auto& target : targets_) {
    target->painter.end();
    target->pane->update();
  }
}

template <typename Draw>
void PaneRouter::ForEach(Draw draw) {
  if (state_.FocusA) draw(targets_[0]->canvas);
  if (state_.FocusB) draw(targets_[1]->canvas);
}

void PaneRouter::SetPen(Colour colour, int width, PenMode mode) {
  for (auto& target : targets_) target->canvas.SetPen(colour, width, mode);
}

void PaneRouter::SetBrush(Colour colour, BrushStyle style) {
  for (auto& target : targets_) target->canvas.SetBrush(colour, style);
}

void PaneRouter::SetFont(Colour colour, FontStyle style) {
  for (auto& target : targets_) target->canvas.SetFont(colour, style);
}

void PaneRouter::Line(int x1, int y1, int x2, int y2) {
  ForEach([&](Canvas& c) { c.Line(x1, y1, x2, y2); });
}

void PaneRouter::Polyline(const std::vector<Point>& points) {
  ForEach([&](Canvas& c) { c.Polyline(points); });
}

void PaneRouter::Rectangle(int left, int top, int right, int bottom) {
  ForEach([&](Canvas& c) { c.Rectangle(left, top, right, bottom); });
}

void PaneRouter::Ellipse(int left, int top, int right, int bottom) {
  ForEach([&](Canvas& c) { c.Ellipse(left, top, right, bottom); });
}

void PaneRouter::TextOut(int x, int y, const std::string& text) {
  ForEach([&](Canvas& c) { c.TextOut(x, y, text); });
}

int PaneRouter::TextWidth(const std::string& text) { return targets_[0]->canvas.TextWidth(text); }

int PaneRouter::TextHeight(const std::string& text) { return targets_[0]->canvas.TextHeight(text); }

}  // namespace velmora
