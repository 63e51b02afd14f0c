#include "ui/PixelFill.h"

#include <algorithm>

#include <QImage>

namespace velmora {

bool PixelFill::Supports(const QImage& image) { return image.format() == QImage::Format_RGB32; }

void PixelFill::Fill(QImage& image, int left, int top, int right, int bottom, QRgb colour) {
  if (left > right) std::swap(left, right);
  if (top > bottom) std::swap(top, bottom);
  left = std::max(left, 0);
  top = std::max(top, 0);
  right = std::min(right, image.width() - 1);
  bottom = std::min(bottom, image.height() - 1);
  if (left > right || top > bottom) return;
  const QRgb pixel = colour | 0xFF000000u;
  const size_t width = size_t(right - left + 1);
  const qsizetype stride = image.bytesPerLine();
  uchar* row = image.bits() + stride * top + qsizetype(left) * qsizetype(sizeof(QRgb));
  if (width <= 2) {  // upright lines: a call per row would cost more than the pixels
    for (int y = top; y <= bottom; ++y, row += stride) {
      auto* pixels = reinterpret_cast<QRgb*>(row);
      pixels[0] = pixel;
      pixels[width - 1] = pixel;
    }
    return;
  }
  for (int y = top; y <= bottom; ++y, row += stride) std::fill_n(reinterpret_cast<QRgb*>(row), width, pixel);
}

}  // namespace velmora
