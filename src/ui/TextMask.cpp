#include "ui/TextMask.h"

#include <algorithm>
#include <cstdint>

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QString>

namespace velmora {

namespace {

// Room around the text's bounding box for antialiasing that spills past it.
constexpr int kMargin = 3;

// Each byte of `pixel` times `factor` / 255, rounded, the way Qt's blending rounds.
inline uint32_t ScaleBytes(uint32_t pixel, uint32_t factor) {
  uint64_t lanes = ((uint64_t(pixel) | (uint64_t(pixel) << 24)) & 0x00FF00FF00FF00FFull) * factor;
  lanes = (lanes + ((lanes >> 8) & 0x00FF00FF00FF00FFull) + 0x0080008000800080ull) >> 8;
  lanes &= 0x00FF00FF00FF00FFull;
  return uint32_t(lanes) | uint32_t(lanes >> 24);
}

// `colour` laid over `pixel` with the given coverage: the colour scaled by the coverage,
// plus what its alpha leaves of the pixel.
inline uint32_t Cover(uint32_t pixel, uint32_t colour, uint32_t coverage) {
  if (coverage == 255) return colour;
  const uint32_t source = ScaleBytes(colour, coverage);
  return source + ScaleBytes(pixel, 255 - (source >> 24));
}

}  // namespace

TextMask::TextMask(const QString& text, const QFont& font, int dotsPerMeterX, int dotsPerMeterY) {
  if (text.isEmpty()) return;
  QImage probe(1, 1, QImage::Format_Alpha8);
  probe.setDotsPerMeterX(dotsPerMeterX);
  probe.setDotsPerMeterY(dotsPerMeterY);
  const QRect box = QFontMetrics(font, &probe).boundingRect(text).adjusted(-kMargin, -kMargin, kMargin, kMargin);
  coverage_ = QImage(box.size(), QImage::Format_Alpha8);
  coverage_.setDotsPerMeterX(dotsPerMeterX);
  coverage_.setDotsPerMeterY(dotsPerMeterY);
  coverage_.fill(0);
  origin_ = -box.topLeft();
  QPainter painter(&coverage_);
  painter.setRenderHint(QPainter::TextAntialiasing, true);
  painter.setFont(font);
  painter.setPen(QColor(0, 0, 0));
  painter.drawText(origin_, text);
}

void TextMask::Blend(QImage& image, int x, int baseline, QRgb colour) const {
  if (coverage_.isNull()) return;
  const int left = x - origin_.x(), top = baseline - origin_.y();
  const int firstColumn = std::max(0, -left), lastColumn = std::min(coverage_.width(), image.width() - left);
  const int firstRow = std::max(0, -top), lastRow = std::min(coverage_.height(), image.height() - top);
  if (firstColumn >= lastColumn || firstRow >= lastRow) return;
  const uint32_t opaque = colour | 0xFF000000u;
  const qsizetype stride = image.bytesPerLine();
  uchar* bits = image.bits();
  for (int row = firstRow; row < lastRow; ++row) {
    const uchar* cover = coverage_.constScanLine(row);
    auto* pixels = reinterpret_cast<uint32_t*>(bits + stride * (top + row)) + left;
    for (int column = firstColumn; column < lastColumn; ++column)
      if (cover[column] != 0) pixels[column] = Cover(pixels[column], opaque, cover[column]);
  }
}

}  // namespace velmora
