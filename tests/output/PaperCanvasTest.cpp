#include <gtest/gtest.h>

#include "core/RecordingCanvas.h"
#include "output/PaperCanvas.h"

namespace velmora {
namespace {

// Each colour as pen, brush and font on paper: ink is black, fills give way to the paper
// except black ones.
TEST(PaperCanvas, InkIsBlackAndColouredFillsArePaper) {
  struct Case {
    Colour colour;
    Colour ink, fill;
  };
  const Case cases[] = {
      {colours::kWhite, colours::kWhite, colours::kWhite},
      {colours::kBlack, colours::kBlack, colours::kBlack},
      {0xFF0000, colours::kBlack, colours::kWhite},
      {0x00FF00, colours::kBlack, colours::kWhite},
      {0xC0C0C0, colours::kBlack, colours::kWhite},
  };
  for (const Case& c : cases) {
    RecordingCanvas screen, expected;
    PaperCanvas paper(screen);
    paper.SetPen(c.colour, 2, PenMode::Copy);
    paper.SetBrush(c.colour, BrushStyle::Solid);
    paper.SetFont(c.colour, FontStyle{});
    expected.SetPen(c.ink, 2, PenMode::Copy);
    expected.SetBrush(c.fill, BrushStyle::Solid);
    expected.SetFont(c.ink, FontStyle{});
    EXPECT_EQ(screen.Lines(), expected.Lines()) << std::hex << c.colour;
  }
}

}  // namespace
}  // namespace velmora
