#pragma once

#include <QImage>
#include <QPoint>
#include <QRgb>

class QFont;
class QString;

namespace velmora {

// A string as Qt's text rasteriser covers the pixels with it: one coverage value per pixel,
// made once by letting Qt write the string, then laid onto images in any colour at any
// whole-pixel place with the same blending Qt uses for antialiased text on opaque images.
// Writing a kept mask costs a fraction of having Qt lay out and write the string again,
// and gives the same pixels.
class TextMask {
 public:
  TextMask() = default;
  // The coverage of `text` in `font` on a device of the given resolution (dots per meter).
  TextMask(const QString& text, const QFont& font, int dotsPerMeterX, int dotsPerMeterY);

  // Writes the text on an opaque 32-bit image in `colour`, its baseline starting at
  // (x, baseline); pixels outside the image are left out.
  void Blend(QImage& image, int x, int baseline, QRgb colour) const;

 private:
  QImage coverage_;  // 8-bit coverage, 0 where the text leaves the pixel alone
  QPoint origin_;    // where the baseline starts inside coverage_
};

}  // namespace velmora
