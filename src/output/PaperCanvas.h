#pragma once

#include "output/BlackInkCanvas.h"

namespace velmora {

// The print-friendly look of a pane: black ink on white paper. Lines and text go black as on
// a printed page; coloured fills (map colours, background bands) give way to the paper, so a
// map keeps its digits and grid readable, while black fills (filled mark dots) stay.
class PaperCanvas : public BlackInkCanvas {
 public:
  explicit PaperCanvas(Canvas& paper) : BlackInkCanvas(paper) {}

  static Colour Fill(Colour colour) { return colour == colours::kBlack ? colours::kBlack : colours::kWhite; }

  void SetBrush(Colour colour, BrushStyle style = BrushStyle::Solid) override {
    BlackInkCanvas::SetBrush(Fill(colour), style);
  }
};

}  // namespace velmora
