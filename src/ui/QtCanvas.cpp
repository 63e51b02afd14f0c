#include "ui/QtCanvas.h"

#include "core/VectorState.h"
#include "ui/PixelPolyline.h"

#include <algorithm>

#include <QFontMetrics>
#include <QPainter>
#include <QHash>
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

}  // namespace

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

// Drawing code sets pens, brushes and fonts before almost every primitive; Qt's setters are
// not free (a font change resolves the font anew), so a setting equal to the current one is
// skipped.
void QtCanvas::SetPen(Colour colour, int width, PenMode mode) {
  const CleanVectorsOnReturn clean;
  if (penSet_ && colour == penColour_ && width == penWidth_ && mode == penMode_) return;
  penSet_ = true;
  penColour_ = colour;
  penWidth_ = width;
  penMode_ = mode;
  QPen pen(ToQColor(colour));
  pen.setWidth(width < 1 ? 1 : width);
  // Wide pens end and join round, as the classic pens this drawing was made for did.
  pen.setCapStyle(width > 1 ? Qt::RoundCap : Qt::SquareCap);
  pen.setJoinStyle(width > 1 ? Qt::RoundJoin : Qt::MiterJoin);
  // A one-pixel pen drawn untransformed is what a cosmetic pen is; Qt then takes its fast
  // line path instead of stroking every segment.
  pen.setCosmetic(width <= 1);
  painter_.setPen(pen);
  painter_.setCompositionMode(mode == PenMode::NotXor ? QPainter::RasterOp_NotSourceXorDestination
                                                      : QPainter::CompositionMode_SourceOver);
}

void QtCanvas::SetBrush(Colour colour, BrushStyle style) {
  const CleanVectorsOnReturn clean;
  if (brushSet_ && colour == brushColour_ && style == brushStyle_) return;
  brushSet_ = true;
  brushColour_ = colour;
  brushStyle_ = style;
  painter_.setBrush(style == BrushStyle::Clear ? QBrush(Qt::NoBrush) : QBrush(ToQColor(colour)));
}

void QtCanvas::SetFont(Colour colour, FontStyle style) {
  const CleanVectorsOnReturn clean;
  fontColour_ = ToQColor(colour);
  if (style == fontStyle_) return;
  fontStyle_ = style;
  font_.setBold(style.bold);
  font_.setItalic(style.italic);
  font_.setPointSize(style.size > 0 ? style.size : 8);
  painter_.setFont(font_);
  metrics_ = QFontMetrics(font_, painter_.device());
}

void QtCanvas::Line(int x1, int y1, int x2, int y2) {
  const CleanVectorsOnReturn clean;
  painter_.drawLine(x1, y1, x2, y2);
}

// A trace is thousands of points drawn at every redraw: they go to Qt as they are, without
// a copy, since a Point and a QPoint are the same two ints.
static_assert(sizeof(Point) == sizeof(QPoint) && alignof(Point) == alignof(QPoint));

void QtCanvas::Polyline(const std::vector<Point>& points) {
  const CleanVectorsOnReturn clean;
  if (points.empty()) return;
  if (DrawsPixelsDirectly() &&
      PixelPolyline::Draw(*static_cast<QImage*>(painter_.device()), ToQColor(penColour_).rgb(), points.data(),
                          points.size()))
    return;
  painter_.drawPolyline(reinterpret_cast<const QPoint*>(points.data()), int(points.size()));
}

// Thin solid lines on an untransformed, unclipped image go straight into its pixels; pages,
// PDF and SVG go through Qt.
bool QtCanvas::DrawsPixelsDirectly() const {
  return penSet_ && penWidth_ <= 1 && penMode_ == PenMode::Copy && painter_.device() != nullptr &&
         painter_.device()->devType() == QInternal::Image && !painter_.hasClipping() &&
         painter_.deviceTransform().isIdentity() && !painter_.testRenderHint(QPainter::Antialiasing);
}

QRect QtCanvas::OutlineBox(int left, int top, int right, int bottom) {
  const QRect area = QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)).normalized();
  return QRect(area.left(), area.top(), area.width() - 1, area.height() - 1);
}

void QtCanvas::Rectangle(int left, int top, int right, int bottom) {
  const CleanVectorsOnReturn clean;
  if (left == right || top == bottom) return;
  painter_.drawRect(OutlineBox(left, top, right, bottom));
}

void QtCanvas::Ellipse(int left, int top, int right, int bottom) {
  const CleanVectorsOnReturn clean;
  if (left == right || top == bottom) return;
  painter_.drawEllipse(OutlineBox(left, top, right, bottom));
}

void QtCanvas::TextOut(int x, int y, const std::string& text) {
  const CleanVectorsOnReturn clean;
  const LaidOutText& laidOut = LayOut(text);
  const QPen pen = painter_.pen();
  // Text is always written in copy mode; the pen mode applies to lines and shapes.
  const bool notXor = penSet_ && penMode_ == PenMode::NotXor;
  if (notXor) painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
  if (brushSet_ && brushStyle_ == BrushStyle::Solid)
    painter_.fillRect(QRect(x, y, laidOut.width, metrics_.height()), ToQColor(brushColour_));
  painter_.setPen(fontColour_);
  painter_.drawStaticText(QPoint(x, y), laidOut.text);  // placed by its top-left corner
  painter_.setPen(pen);
  if (notXor) painter_.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
}

// Laying out a string is most of what writing it costs, and a pane writes the same mark
// times, channel numbers and grid labels at every redraw: the layouts are kept, per font,
// for the whole run (the cache starts afresh once it holds many thousands).
const QtCanvas::LaidOutText& QtCanvas::LayOut(const std::string& text) {
  static QHash<QString, LaidOutText> cache;
  const QString qtext = ToQString(text);
  const QString key = font_.key() + QChar(0) + qtext;
  auto found = cache.constFind(key);
  if (found != cache.constEnd()) return *found;
  if (cache.size() > 20000) cache.clear();
  LaidOutText laidOut;
  laidOut.text.setText(qtext);
  laidOut.text.setTextFormat(Qt::PlainText);
  laidOut.text.setPerformanceHint(QStaticText::AggressiveCaching);
  laidOut.text.prepare(QTransform(), font_);
  laidOut.width = metrics_.horizontalAdvance(qtext);
  return *cache.insert(key, laidOut);
}

int QtCanvas::TextWidth(const std::string& text) {
  const CleanVectorsOnReturn clean;
  return metrics_.horizontalAdvance(ToQString(text));
}

int QtCanvas::TextHeight(const std::string&) { return metrics_.height(); }

}  // namespace velmora
