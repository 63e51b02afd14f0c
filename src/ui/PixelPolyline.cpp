#include "ui/PixelPolyline.h"

#include <algorithm>
#include <cstdlib>

#include <QImage>

#include "core/Canvas.h"

namespace velmora {

namespace {

class Plotter {
 public:
  Plotter(QImage& image, QRgb colour)
      : bits_(reinterpret_cast<QRgb*>(image.bits())),
        stride_(image.bytesPerLine() / int(sizeof(QRgb))),
        width_(image.width()),
        height_(image.height()),
        colour_(colour) {}

  // Adds the pixels from (x, y0) to (x, y1) to the column's pending span.
  void Span(int x, int y0, int y1) {
    if (y0 > y1) std::swap(y0, y1);
    if (pending_ && x == spanX_ && y0 <= spanHigh_ + 1 && y1 >= spanLow_ - 1) {
      spanLow_ = std::min(spanLow_, y0);
      spanHigh_ = std::max(spanHigh_, y1);
      return;
    }
    Flush();
    pending_ = true;
    spanX_ = x;
    spanLow_ = y0;
    spanHigh_ = y1;
  }

  // Bresenham between two points, both ends included; pixels in one column join its span.
  void Segment(Point a, Point b) {
    if (a.x == b.x) return Span(a.x, a.y, b.y);
    const int dx = std::abs(b.x - a.x), dy = -std::abs(b.y - a.y);
    const int sx = a.x < b.x ? 1 : -1, sy = a.y < b.y ? 1 : -1;
    int error = dx + dy;
    for (;;) {
      Span(a.x, a.y, a.y);
      if (a.x == b.x && a.y == b.y) return;
      const int twice = 2 * error;
      if (twice >= dy) {
        error += dy;
        a.x += sx;
      }
      if (twice <= dx) {
        error += dx;
        a.y += sy;
      }
    }
  }

  void Flush() {
    if (!pending_) return;
    pending_ = false;
    if (spanX_ < 0 || spanX_ >= width_) return;
    const int low = std::max(spanLow_, 0), high = std::min(spanHigh_, height_ - 1);
    QRgb* pixel = bits_ + ptrdiff_t(low) * stride_ + spanX_;
    for (int y = low; y <= high; ++y, pixel += stride_) *pixel = colour_;
  }

 private:
  QRgb* bits_;
  int stride_, width_, height_;
  QRgb colour_;
  bool pending_ = false;
  int spanX_ = 0, spanLow_ = 0, spanHigh_ = 0;
};

}  // namespace

bool PixelPolyline::Draw(QImage& image, QRgb colour, const Point* points, size_t count) {
  const QImage::Format format = image.format();
  if (format != QImage::Format_RGB32 && format != QImage::Format_ARGB32 &&
      format != QImage::Format_ARGB32_Premultiplied)
    return false;
  Plotter plotter(image, colour | 0xFF000000u);
  if (count == 1) plotter.Span(points[0].x, points[0].y, points[0].y);
  for (size_t i = 1; i < count; ++i) plotter.Segment(points[i - 1], points[i]);
  plotter.Flush();
  return true;
}

}  // namespace velmora
