#include "ui/QtCanvas.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>
#include <QString>

namespace velmora {

namespace {

QString ToQString(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

QtCanvas::QtCanvas(QPainter& painter) : painter_(painter), font_(painter.font()) {
  painter_.setRenderHint(QPainter::Antialiasing, false);
  painter_.setRenderHint(QPainter::TextAntialiasing, true);
  SetPen(colours::kBlack);
  SetBrush(colours::kWhite);
  SetFont(colours::kBlack, FontStyle{});
}

QColor QtCanvas::ToQColor(Colour colour) {
  return QColor(int((colour >> 16) & 0xFF), int((colour >> 8) & 0xFF), int(colour & 0xFF));
}

void QtCanvas::SetPen(Colour colour, int width, PenMode mode) {
  QPen pen(ToQColor(colour));
  pen.setWidth(width < 1 ? 1 : width);
  // Wide pens end and join round, as the classic pens this drawing was made for did.
  pen.setCapStyle(width > 1 ? Qt::RoundCap : Qt::SquareCap);
  pen.setJoinStyle(width > 1 ? Qt::RoundJoin : Qt::MiterJoin);
  painter_.setPen(pen);
  painter_.setCompositionMode(mode == PenMode::NotXor ? QPainter::RasterOp_NotSourceXorDestination
                                                      : QPainter::CompositionMode_SourceOver);
}

void QtCanvas::SetBrush(Colour colour, BrushStyle style) {
  painter_.setBrush(style == BrushStyle::Clear ? QBrush(Qt::NoBrush) : QBrush(ToQColor(colour)));
}

void QtCanvas::SetFont(Colour colour, FontStyle style) {
  fontColour_ = ToQColor(colour);
  font_.setBold(style.bold);
  font_.setItalic(style.italic);
  font_.setPointSize(style.size > 0 ? style.size : 8);
  painter_.setFont(font_);
}

void QtCanvas::Line(int x1, int y1, int x2, int y2) { painter_.drawLine(x1, y1, x2, y2); }

// A trace is thousands of points drawn at every redraw: they go to Qt as they are, without
// a copy, since a Point and a QPoint are the same two ints.
static_assert(sizeof(Point) == sizeof(QPoint) && alignof(Point) == alignof(QPoint));

void QtCanvas::Polyline(const std::vector<Point>& points) {
  if (points.empty()) return;
  painter_.drawPolyline(reinterpret_cast<const QPoint*>(points.data()), int(points.size()));
}

QRect QtCanvas::OutlineBox(int left, int top, int right, int bottom) {
  const QRect area = QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)).normalized();
  return QRect(area.left(), area.top(), area.width() - 1, area.height() - 1);
}

void QtCanvas::Rectangle(int left, int top, int right, int bottom) {
  if (left == right || top == bottom) return;
  painter_.drawRect(OutlineBox(left, top, right, bottom));
}

void QtCanvas::Ellipse(int left, int top, int right, int bottom) {
  if (left == right || top == bottom) return;
  painter_.drawEllipse(OutlineBox(left, top, right, bottom));
}

void QtCanvas::TextOut(int x, int y, const std::string& text) {
  const QString qtext = ToQString(text);
  const QFontMetrics metrics(font_, painter_.device());
  const QBrush brush = painter_.brush();
  const QPen pen = painter_.pen();
  const QPainter::CompositionMode mode = painter_.compositionMode();
  // Text is always written in copy mode; the pen mode applies to lines and shapes.
  painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
  if (brush.style() != Qt::NoBrush)
    painter_.fillRect(QRect(x, y, metrics.horizontalAdvance(qtext), metrics.height()), brush.color());
  painter_.setPen(fontColour_);
  painter_.drawText(QPoint(x, y + metrics.ascent()), qtext);
  painter_.setPen(pen);
  painter_.setCompositionMode(mode);
}

int QtCanvas::TextWidth(const std::string& text) {
  return QFontMetrics(font_, painter_.device()).horizontalAdvance(ToQString(text));
}

int QtCanvas::TextHeight(const std::string&) { return QFontMetrics(font_, painter_.device()).height(); }

}  // namespace velmora
