#pragma once

#include <vector>

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QPoint>
#include <QStaticText>

#include "core/Canvas.h"

class QPainter;

namespace velmora {

// The drawing surface of the panes (and later of printed pages and picture exports) over a
// QPainter, with the conventions the drawing code was written for:
// - Rectangle and Ellipse take (left, top, right, bottom) with right and bottom excluded, so
//   Rectangle(0, 0, 10, 10) touches the pixels 0..9 in both directions and neighbouring
//   cells tile without overlapping;
// - TextOut places the top-left corner of the text at (x, y) and, while the brush is solid,
//   fills the text's box with the brush colour first; a clear brush writes the text over
//   what is there;
// - a pen in NotXor mode draws the inverse of source XOR destination, so drawing the same
//   shape twice restores the picture.
// Antialiasing is off: the drawings are pixel-exact line art.
class QtCanvas : public Canvas {
 public:
  // Starts with a black 1-pixel pen in copy mode, a solid white brush and a black 8-point font.
  explicit QtCanvas(QPainter& painter);

  void SetPen(Colour colour, int width = 1, PenMode mode = PenMode::Copy) override;
  void SetBrush(Colour colour, BrushStyle style = BrushStyle::Solid) override;
  void SetFont(Colour colour, FontStyle style) override;

  void Line(int x1, int y1, int x2, int y2) override;
  void Polyline(const std::vector<Point>& points) override;
  void Rectangle(int left, int top, int right, int bottom) override;
  void Ellipse(int left, int top, int right, int bottom) override;
  void TextOut(int x, int y, const std::string& text) override;
  int TextWidth(const std::string& text) override;
  int TextHeight(const std::string& text) override;

  static QColor ToQColor(Colour colour);

 private:
  // The box a Rectangle/Ellipse outline is drawn on: Qt strokes a 1-pixel outline one pixel
  // beyond the box's width and height, so the box is one pixel smaller than the area.
  static QRect OutlineBox(int left, int top, int right, int bottom);

  struct LaidOutText {
    QStaticText text;
    int width = 0;
  };
  const LaidOutText& LayOut(const std::string& text);
  bool DrawsPixelsDirectly() const;

  QPainter& painter_;
  QColor fontColour_;
  QFont font_;
  QFontMetrics metrics_;
  FontStyle fontStyle_;
  bool penSet_ = false, brushSet_ = false;
  Colour penColour_ = 0, brushColour_ = 0;
  int penWidth_ = 1;
  PenMode penMode_ = PenMode::Copy;
  BrushStyle brushStyle_ = BrushStyle::Solid;
};

}  // namespace velmora
