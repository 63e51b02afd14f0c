#pragma once

#include <memory>
#include <string>
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
// On a plain 32-bit pane buffer the common shapes (thin polylines, upright lines, rectangles
// with a thin pen, text) are written straight into the pixels, the same pixels Qt would
// give; everything else, and every other device (PDF, SVG, pages), goes through Qt.
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

  struct LaidOutText;
  LaidOutText& LayOut(const std::string& text);
  // The image the painter writes on when pixels may be written straight, else null.
  QImage* PlainImage() const;
  // The same when shapes in the current pen may go straight into its pixels.
  QImage* DirectImage() const;
  bool DrawsUprightLineDirectly(int x1, int y1, int x2, int y2);
  bool DrawsRectangleDirectly(int left, int top, int right, int bottom);
  bool WritesTextDirectly(int x, int y, LaidOutText& laidOut);
  void TextThroughQt(int x, int y, LaidOutText& laidOut);
  // Qt's pen and brush follow the canvas's only when a shape needs them.
  void ApplyPen();
  void ApplyBrush();

  QPainter& painter_;
  Colour fontColour_ = 0;
  QFont font_;
  QFontMetrics metrics_;
  int fontAscent_ = 0, fontHeight_ = 0;
  std::string fontKey_;  // names the font in the text cache
  std::string textKey_;  // reused to look texts up without allocating
  FontStyle fontStyle_;
  bool penSet_ = false, brushSet_ = false;
  bool qtPenCurrent_ = false, qtBrushCurrent_ = false;
  Colour penColour_ = 0, brushColour_ = 0;
  int penWidth_ = 1;
  PenMode penMode_ = PenMode::Copy;
  BrushStyle brushStyle_ = BrushStyle::Solid;
};

}  // namespace velmora
