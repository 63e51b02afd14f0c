#pragma once

#include <memory>
#include <vector>

#include "core/Canvas.h"

namespace velmora {

struct AnalysisState;
class PaneWidget;
class QtCanvas;

// Draws on pane A's and/or pane B's back buffer as the focus flags say, for the drawing a
// command does between two redraws (a reference mark, a rubber band, a crossed-out cell).
// The panes show what was drawn once the router goes out of scope.
class PaneRouter : public Canvas {
 public:
  PaneRouter(const AnalysisState& state, PaneWidget* paneA, PaneWidget* paneB);
  ~PaneRouter() override;

  void SetPen(Colour colour, int width, PenMode mode) override;
  void SetBrush(Colour colour, BrushStyle style) override;
  void SetFont(Colour colour, FontStyle style) override;
  void Line(int x1, int y1, int x2, int y2) override;
  void Polyline(const std::vector<Point>& points) override;
  void Rectangle(int left, int top, int right, int bottom) override;
  void Ellipse(int left, int top, int right, int bottom) override;
  void TextOut(int x, int y, const std::string& text) override;
  int TextWidth(const std::string& text) override;
  int TextHeight(const std::string& text) override;

 private:
  struct Target;
  template <typename Draw>
  void ForEach(Draw draw);

  const AnalysisState& state_;
  std::vector<std::unique_ptr<Target>> targets_;  // [0] pane A, [1] pane B
};

}  // namespace velmora
