#pragma once

#include <QRgb>

class QImage;

namespace velmora {

// Fills rectangles of an opaque 32-bit image straight in its pixels: clearing a pane, text
// boxes, and the upright lines of grids, marks and bars, which Qt would send through its
// general path one by one.
class PixelFill {
 public:
  // Whether `image` is one the fill writes into (opaque 32-bit RGB).
  static bool Supports(const QImage& image);
  // Fills the pixels from (left, top) to (right, bottom), both included, in any order of the
  // corners; what lies outside the image is left out.
  static void Fill(QImage& image, int left, int top, int right, int bottom, QRgb colour);
};

}  // namespace velmora
