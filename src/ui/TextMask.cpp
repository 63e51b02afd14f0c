#include "ui/TextMask.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QString>

#include "ui/PixelFill.h"

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
// plus what its alpha leaves of the pixel. Coverage 0 leaves the pixel and 255 gives the
// colour exactly, so no pixel needs a test.
inline uint32_t Cover(uint32_t pixel, uint32_t colour, uint32_t coverage) {
  const uint32_t source = ScaleBytes(colour, coverage);
  return source + ScaleBytes(pixel, 255 - (source >> 24));
}

// The smallest rectangle of `image` (8-bit) holding every pixel that is not 0.
QRect InkBounds(const QImage& image) {
  int left = image.width(), right = -1, top = image.height(), bottom = -1;
  for (int y = 0; y < image.height(); ++y) {
    const uchar* row = image.constScanLine(y);
    for (int x = 0; x < image.width(); ++x) {
      if (row[x] == 0) continue;
      left = std::min(left, x);
      right = std::max(right, x);
      top = std::min(top, y);
      bottom = std::max(bottom, y);
    }
  }
  return right < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

}  // namespace

TextMask::TextMask(const QString& text, const QFont& font, int dotsPerMeterX, int dotsPerMeterY) {
  if (text.isEmpty()) return;
  QImage probe(1, 1, QImage::Format_Alpha8);
  probe.setDotsPerMeterX(dotsPerMeterX);
  probe.setDotsPerMeterY(dotsPerMeterY);
  const QRect box = QFontMetrics(font, &probe).boundingRect(text).adjusted(-kMargin, -kMargin, kMargin, kMargin);
  QImage drawn(box.size(), QImage::Format_Alpha8);
  drawn.setDotsPerMeterX(dotsPerMeterX);
  drawn.setDotsPerMeterY(dotsPerMeterY);
  drawn.fill(0);
  const QPoint origin = -box.topLeft();
  {
    QPainter painter(&drawn);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setFont(font);
    painter.setPen(QColor(0, 0, 0));
    painter.drawText(origin, text);
  }
  const QRect ink = InkBounds(drawn);
  if (ink.isNull()) return;  // blanks only
  coverage_ = drawn.copy(ink);
  origin_ = origin - ink.topLeft();
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
      pixels[column] = Cover(pixels[column], opaque, cover[column]);
  }
}

void TextMask::Stamp(QImage& image, int x, int baseline, QRgb colour, QRgb background, QRect box) {
  if (box.isEmpty()) return Blend(image, x, baseline, colour);
  const QRect ink(-origin_, coverage_.size());
  if (!coverage_.isNull() && !box.contains(ink)) {
    // Text reaching out of its box (a slanted letter) is blended where it lands.
    const QRect placed = box.translated(x, baseline);
    PixelFill::Fill(image, placed.left(), placed.top(), placed.right(), placed.bottom(), background);
    return Blend(image, x, baseline, colour);
  }
  if (stamp_.isNull() || colour != stampColour_ || background != stampBackground_ || box != stampBox_)
    MakeStamp(colour, background, box);
  const QRect placed = box.translated(x, baseline).intersected(image.rect());
  if (placed.isEmpty()) return;
  const int fromX = placed.left() - (box.left() + x), fromY = placed.top() - (box.top() + baseline);
  const size_t bytes = size_t(placed.width()) * sizeof(QRgb);
  const qsizetype stride = image.bytesPerLine();
  uchar* target = image.bits() + stride * placed.top() + qsizetype(placed.left()) * qsizetype(sizeof(QRgb));
  for (int row = 0; row < placed.height(); ++row, target += stride)
    std::memcpy(target, reinterpret_cast<const QRgb*>(stamp_.constScanLine(fromY + row)) + fromX, bytes);
}

void TextMask::MakeStamp(QRgb colour, QRgb background, QRect box) {
  stamp_ = QImage(box.size(), QImage::Format_RGB32);
  stamp_.fill(background | 0xFF000000u);
  Blend(stamp_, -box.left(), -box.top(), colour);
  stampColour_ = colour;
  stampBackground_ = background;
  stampBox_ = box;
}

}  // namespace velmora
