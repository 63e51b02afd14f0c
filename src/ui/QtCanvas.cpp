#include "ui/QtCanvas.h"

#include "core/VectorState.h"
#include "ui/PixelFill.h"
#include "ui/PixelPolyline.h"
#include "ui/TextMask.h"

#include <algorithm>
#include <optional>
#include <unordered_map>

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPolygon>
#include <QStaticText>
#include <QString>

namespace velmora {

namespace {

QString ToQString(const std::string& text) { return QString::fromStdString(text); }

// Every primitive hands work to Qt; on the way back the vector registers are left clean for
// the drawing code's own loops (see VectorState.h).
struct CleanVectorsOnReturn {
  ~CleanVectorsOnReturn() { ClearUpperVectorState(); }
};

QRgb ToRgb(Colour colour) { return QRgb(colour) | 0xFF000000u; }

// A short name for a font on a device, the start of its texts' keys in the text cache: the
// fonts in use get numbers, so a key is little more than its text. Text widths depend on
// the device's resolution as well as on the font.
std::string FontKey(const QFont& font, const QPaintDevice* device) {
  static std::unordered_map<std::string, uint32_t> numbers;
  const std::string name = font.key().toStdString() + '@' + std::to_string(device ? device->logicalDpiX() : 0) + 'x' +
                           std::to_string(device ? device->logicalDpiY() : 0);
  const uint32_t number = numbers.emplace(name, uint32_t(numbers.size())).first->second;
  return std::string(reinterpret_cast<const char*>(&number), sizeof number);
}

}  // namespace

// A string laid out once per font and kept: Qt's own layout for devices Qt draws on, and
// the coverage mask for pane buffers, each made the first time it is needed.
struct QtCanvas::LaidOutText {
  QString text;
  int width = 0;
  std::optional<QStaticText> staticText;
  std::optional<TextMask> mask;
  int maskDotsPerMeterX = 0, maskDotsPerMeterY = 0;
};

QtCanvas::QtCanvas(QPainter& painter)
    : painter_(painter), font_(painter.font()), metrics_(font_, painter.device()) {
  painter_.setRenderHint(QPainter::Antialiasing, false);
  painter_.setRenderHint(QPainter::TextAntialiasing, true);
  SetPen(colours::kBlack);
  SetBrush(colours::kWhite);
  fontStyle_.size = -1;  // forces the first SetFont to set the painter's font
  SetFont(colours::kBlack, FontStyle{});
}

QColor QtCanvas::ToQColor(Colour colour) {
  return QColor(int((colour >> 16) & 0xFF), int((colour >> 8) & 0xFF), int(colour & 0xFF));
}

// Drawing code sets pens, brushes and fonts before almost every primitive, and most shapes
// never reach Qt: a setting is only noted here and handed to Qt when a shape needs it.
void QtCanvas::SetPen(Colour colour, int width, PenMode mode) {
  if (penSet_ && colour == penColour_ && width == penWidth_ && mode == penMode_) return;
  penSet_ = true;
  penColour_ = colour;
  penWidth_ = width;
  penMode_ = mode;
  qtPenCurrent_ = false;
}

void QtCanvas::ApplyPen() {
  if (qtPenCurrent_) return;
  qtPenCurrent_ = true;
  QPen pen(ToQColor(penColour_));
  pen.setWidth(penWidth_ < 1 ? 1 : penWidth_);
  // Wide pens end and join round, as the classic pens this drawing was made for did.
  pen.setCapStyle(penWidth_ > 1 ? Qt::RoundCap : Qt::SquareCap);
  pen.setJoinStyle(penWidth_ > 1 ? Qt::RoundJoin : Qt::MiterJoin);
  // A one-pixel pen drawn untransformed is what a cosmetic pen is; Qt then takes its fast
  // line path instead of stroking every segment.
  pen.setCosmetic(penWidth_ <= 1);
  painter_.setPen(pen);
  painter_.setCompositionMode(penMode_ == PenMode::NotXor ? QPainter::RasterOp_NotSourceXorDestination
                                                          : QPainter::CompositionMode_SourceOver);
}

void QtCanvas::SetBrush(Colour colour, BrushStyle style) {
  if (brushSet_ && colour == brushColour_ && style == brushStyle_) return;
  brushSet_ = true;
  brushColour_ = colour;
  brushStyle_ = style;
  qtBrushCurrent_ = false;
}

void QtCanvas::ApplyBrush() {
  if (qtBrushCurrent_) return;
  qtBrushCurrent_ = true;
  painter_.setBrush(brushStyle_ == BrushStyle::Clear ? QBrush(Qt::NoBrush) : QBrush(ToQColor(brushColour_)));
}

void QtCanvas::SetFont(Colour colour, FontStyle style) {
  fontColour_ = colour;
  if (style == fontStyle_) return;
  const CleanVectorsOnReturn clean;
  fontStyle_ = style;
  font_.setBold(style.bold);
  font_.setItalic(style.italic);
  font_.setPointSize(style.size > 0 ? style.size : 8);
  painter_.setFont(font_);
  metrics_ = QFontMetrics(font_, painter_.device());
  fontAscent_ = metrics_.ascent();
  fontHeight_ = metrics_.height();
  fontKey_ = FontKey(font_, painter_.device());
}

// Pixels are written straight only on an opaque 32-bit image drawn untransformed and
// unclipped; pages, PDF and SVG go through Qt.
QImage* QtCanvas::PlainImage() const {
  QPaintDevice* device = painter_.device();
  if (device == nullptr || device->devType() != QInternal::Image) return nullptr;
  auto* image = static_cast<QImage*>(device);
  if (!PixelFill::Supports(*image) || painter_.hasClipping() || !painter_.deviceTransform().isIdentity())
    return nullptr;
  return image;
}

// Shapes, moreover, only without antialiasing and in copy mode.
QImage* QtCanvas::DirectImage() const {
  if (penMode_ != PenMode::Copy || painter_.testRenderHint(QPainter::Antialiasing)) return nullptr;
  return PlainImage();
}

void QtCanvas::Line(int x1, int y1, int x2, int y2) {
  const CleanVectorsOnReturn clean;
  if (DrawsUprightLineDirectly(x1, y1, x2, y2)) return;
  ApplyPen();
  painter_.drawLine(x1, y1, x2, y2);
}

// A one-pixel line covers both its ends. A two-pixel line with round ends covers one more
// pixel before its lower end and one column (or row) to the left of (above) it; a line of
// length 0 with it covers nothing. Those are the pixels Qt gives; other lines go to Qt.
bool QtCanvas::DrawsUprightLineDirectly(int x1, int y1, int x2, int y2) {
  if ((x1 != x2 && y1 != y2) || penWidth_ > 2) return false;
  QImage* image = DirectImage();
  if (image == nullptr) return false;
  int left = std::min(x1, x2), right = std::max(x1, x2), top = std::min(y1, y2), bottom = std::max(y1, y2);
  if (penWidth_ == 2) {
    if (left == right && top == bottom) return true;
    --left;
    --top;
  }
  PixelFill::Fill(*image, left, top, right, bottom, ToRgb(penColour_));
  return true;
}

// A trace is thousands of points drawn at every redraw: they go to Qt as they are, without
// a copy, since a Point and a QPoint are the same two ints.
static_assert(sizeof(Point) == sizeof(QPoint) && alignof(Point) == alignof(QPoint));

void QtCanvas::Polyline(const std::vector<Point>& points) {
  const CleanVectorsOnReturn clean;
  if (points.empty()) return;
  QImage* image = penWidth_ <= 1 ? DirectImage() : nullptr;
  if (image != nullptr && PixelPolyline::Draw(*image, ToRgb(penColour_), points.data(), points.size())) return;
  ApplyPen();
  painter_.drawPolyline(reinterpret_cast<const QPoint*>(points.data()), int(points.size()));
}

QRect QtCanvas::OutlineBox(int left, int top, int right, int bottom) {
  const QRect area = QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)).normalized();
  return QRect(area.left(), area.top(), area.width() - 1, area.height() - 1);
}

void QtCanvas::Rectangle(int left, int top, int right, int bottom) {
  const CleanVectorsOnReturn clean;
  if (left == right || top == bottom) return;
  if (DrawsRectangleDirectly(left, top, right, bottom)) return;
  ApplyPen();
  ApplyBrush();
  const QRect box = OutlineBox(left, top, right, bottom);
  // Qt draws nothing for a box without width and height; a one-pixel area is its one pixel.
  if (box.width() == 0 && box.height() == 0) return painter_.drawPoint(box.topLeft());
  painter_.drawRect(box);
}

// A thin pen outlines the area's border pixels and a solid brush fills what lies inside.
bool QtCanvas::DrawsRectangleDirectly(int left, int top, int right, int bottom) {
  if (penWidth_ > 1) return false;
  QImage* image = DirectImage();
  if (image == nullptr) return false;
  const QRect area = QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)).normalized();
  const QRgb pen = ToRgb(penColour_);
  if (brushStyle_ == BrushStyle::Solid && area.width() > 2 && area.height() > 2)
    PixelFill::Fill(*image, area.left() + 1, area.top() + 1, area.right() - 1, area.bottom() - 1, ToRgb(brushColour_));
  PixelFill::Fill(*image, area.left(), area.top(), area.right(), area.top(), pen);
  PixelFill::Fill(*image, area.left(), area.bottom(), area.right(), area.bottom(), pen);
  PixelFill::Fill(*image, area.left(), area.top(), area.left(), area.bottom(), pen);
  PixelFill::Fill(*image, area.right(), area.top(), area.right(), area.bottom(), pen);
  return true;
}

void QtCanvas::Ellipse(int left, int top, int right, int bottom) {
  const CleanVectorsOnReturn clean;
  if (left == right || top == bottom) return;
  ApplyPen();
  ApplyBrush();
  painter_.drawEllipse(OutlineBox(left, top, right, bottom));
}

// Text is always written in copy mode; the pen mode applies to lines and shapes. While the
// brush is solid the text's box is filled with it first.
void QtCanvas::TextOut(int x, int y, const std::string& text) {
  const CleanVectorsOnReturn clean;
  LaidOutText& laidOut = LayOut(text);
  if (WritesTextDirectly(x, y, laidOut)) return;
  TextThroughQt(x, y, laidOut);
}

// The masks are antialiased text, so text goes straight only while the painter's is too.
bool QtCanvas::WritesTextDirectly(int x, int y, LaidOutText& laidOut) {
  QImage* image = painter_.testRenderHint(QPainter::TextAntialiasing) ? PlainImage() : nullptr;
  if (image == nullptr) return false;
  if (!laidOut.mask || laidOut.maskDotsPerMeterX != image->dotsPerMeterX() ||
      laidOut.maskDotsPerMeterY != image->dotsPerMeterY()) {
    laidOut.maskDotsPerMeterX = image->dotsPerMeterX();
    laidOut.maskDotsPerMeterY = image->dotsPerMeterY();
    laidOut.mask.emplace(laidOut.text, font_, laidOut.maskDotsPerMeterX, laidOut.maskDotsPerMeterY);
  }
  const int baseline = y + fontAscent_;
  if (brushSet_ && brushStyle_ == BrushStyle::Solid)
    laidOut.mask->Stamp(*image, x, baseline, ToRgb(fontColour_), ToRgb(brushColour_),
                        QRect(0, -fontAscent_, laidOut.width, fontHeight_));
  else
    laidOut.mask->Blend(*image, x, baseline, ToRgb(fontColour_));
  return true;
}

void QtCanvas::TextThroughQt(int x, int y, LaidOutText& laidOut) {
  if (!laidOut.staticText) {
    laidOut.staticText.emplace(laidOut.text);
    laidOut.staticText->setTextFormat(Qt::PlainText);
    laidOut.staticText->setPerformanceHint(QStaticText::AggressiveCaching);
    laidOut.staticText->prepare(QTransform(), font_);
  }
  painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
  if (brushSet_ && brushStyle_ == BrushStyle::Solid)
    painter_.fillRect(QRect(x, y, laidOut.width, fontHeight_), ToQColor(brushColour_));
  painter_.setPen(ToQColor(fontColour_));
  painter_.drawStaticText(QPoint(x, y), *laidOut.staticText);  // placed by its top-left corner
  qtPenCurrent_ = false;  // the next shape sets Qt's pen and pen mode again
}

// Laying out a string is most of what writing it costs, and a pane writes the same mark
// times, channel numbers and grid labels at every redraw: the layouts are kept, per font,
// for the whole run (the cache starts afresh once it holds many thousands).
QtCanvas::LaidOutText& QtCanvas::LayOut(const std::string& text) {
  static std::unordered_map<std::string, LaidOutText> cache;
  textKey_.assign(fontKey_);
  textKey_.append(text);
  auto found = cache.find(textKey_);
  if (found != cache.end()) return found->second;
  if (cache.size() > 20000) cache.clear();
  LaidOutText laidOut;
  laidOut.text = ToQString(text);
  laidOut.width = metrics_.horizontalAdvance(laidOut.text);
  return cache.emplace(textKey_, std::move(laidOut)).first->second;
}

int QtCanvas::TextWidth(const std::string& text) {
  const CleanVectorsOnReturn clean;
  return LayOut(text).width;
}

int QtCanvas::TextHeight(const std::string&) { return fontHeight_; }

}  // namespace velmora
