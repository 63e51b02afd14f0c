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
    if (b.x - a.x == 1 || a.x - b.x == 1) return NeighbourSegment(a, b);
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

  // A segment into the next column, the usual one of a dense trace: Bresenham's steps leave
  // the first (n - 1) / 2 pixels of the n-pixel climb in the first column, the rest in the second.
  void NeighbourSegment(Point a, Point b) {
    const int climb = std::abs(b.y - a.y);
    if (climb == 0) {
      Span(a.x, a.y, a.y);
      return Span(b.x, b.y, b.y);
    }
    const int direction = b.y > a.y ? 1 : -1;
    const int lastInFirst = a.y + direction * ((climb - 1) / 2);
    Span(a.x, a.y, lastInFirst);
    Span(b.x, lastInFirst + direction, b.y);
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
  size_t i = 0;
  while (i < count) {
    // A run of points in one column is a chain of upright segments: together they cover
    // the column from the run's lowest to its highest point.
    const int x = points[i].x;
    int low = points[i].y, high = points[i].y;
    size_t next = i + 1;
    for (; next < count && points[next].x == x; ++next) {
      low = std::min(low, points[next].y);
      high = std::max(high, points[next].y);
    }
    plotter.Span(x, low, high);
    if (next < count) plotter.Segment(points[next - 1], points[next]);
    i = next;
  }
  plotter.Flush();
  return true;
}

}  // namespace velmora
