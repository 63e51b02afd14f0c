#pragma once

#include <cstddef>
#include <cstdint>

#include <QRgb>

class QImage;

namespace velmora {

struct Point;

// Draws one-pixel polylines straight into a 32-bit image. A trace of a long window has
// several points in every pixel column; the points of one column only widen the column's
// vertical span, and each span is filled once, so drawing costs little more per point than
// reading it. Every segment is drawn with both its end pixels.
class PixelPolyline {
 public:
  // Returns false (and draws nothing) when the image is not a 32-bit RGB image.
  static bool Draw(QImage& image, QRgb colour, const Point* points, size_t count);
};

}  // namespace velmora
