#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
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
  // Fills `box` (placed like the text, relative to the start of its baseline) with
  // `background` and writes the text over it. The last box made is kept, so a label written
  // again in the same colours is a copy of pixels.
  void Stamp(QImage& image, int x, int baseline, QRgb colour, QRgb background, QRect box);

 private:
  void MakeStamp(QRgb colour, QRgb background, QRect box);

  QImage coverage_;  // 8-bit coverage over the pixels the text touches, null for none
  QPoint origin_;    // where the baseline starts inside coverage_
  QImage stamp_;     // the last box written, text included
  QRgb stampColour_ = 0, stampBackground_ = 0;
  QRect stampBox_;
};

}  // namespace velmora
