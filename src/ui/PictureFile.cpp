#include "ui/PictureFile.h"

#include <QBuffer>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

#include <string_view>

#include "core/AtomicFile.h"
#include "core/Errors.h"
#include "ui/QtCanvas.h"

namespace velmora {

namespace {

// The panes' back buffers are 96 dpi: 3780 dots per meter.
constexpr int kDotsPerInch = 96;
constexpr int kDotsPerMeter = 3780;
constexpr double kPointsPerInch = 72.0;

bool EndsWith(std::string_view text, std::string_view suffix) {
  if (text.size() < suffix.size()) return false;
  const std::string_view tail = text.substr(text.size() - suffix.size());
  for (size_t i = 0; i < suffix.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(tail[i])) != suffix[i]) return false;
  return true;
}

// Every picture starts white, as the panes' buffers do; a device that cannot be painted on
// leaves the bytes empty.
void PaintOn(QPaintDevice& device, QSize size, const PictureFile::Painting& paint) {
  QPainter painter;
  if (!painter.begin(&device)) return;
  painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
  paint(painter, size);
  painter.end();
}

QByteArray RenderPng(QSize size, const PictureFile::Painting& paint) {
  const QImage image = PictureFile::Image(size, paint);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  return bytes;
}

QByteArray RenderPdf(QSize size, const PictureFile::Painting& paint) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  {
    QPdfWriter writer(&buffer);
    // One page exactly the size of the pane: 72 points per inch against the pane's 96 pixels.
    const QSizeF points(size.width() * kPointsPerInch / kDotsPerInch, size.height() * kPointsPerInch / kDotsPerInch);
    writer.setPageLayout(QPageLayout(QPageSize(points, QPageSize::Point, QString(), QPageSize::ExactMatch),
                                     QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    writer.setResolution(kDotsPerInch);
    writer.setCreator("Velmora");
    PaintOn(writer, size, paint);
  }
  return bytes;
}

QByteArray RenderSvg(QSize size, const PictureFile::Painting& paint) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  {
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(size);
    generator.setViewBox(QRect(QPoint(0, 0), size));
    generator.setResolution(kDotsPerInch);
    PaintOn(generator, size, paint);
  }
  return bytes;
}

}  // namespace

QImage PictureFile::Image(QSize size, const Painting& paint) {
  QImage image(size, QImage::Format_RGB32);
  image.setDotsPerMeterX(kDotsPerMeter);
  image.setDotsPerMeterY(kDotsPerMeter);
  PaintOn(image, size, paint);
  return image;
}

std::optional<PictureFile::Format> PictureFile::FormatOf(const std::string& path) {
  if (EndsWith(path, ".png")) return Format::Png;
  if (EndsWith(path, ".svg")) return Format::Svg;
  if (EndsWith(path, ".pdf")) return Format::Pdf;
  return std::nullopt;
}

QByteArray PictureFile::Render(Format format, QSize size, const Painting& paint) {
  switch (format) {
    case Format::Png: return RenderPng(size, paint);
    case Format::Svg: return RenderSvg(size, paint);
    case Format::Pdf: return RenderPdf(size, paint);
  }
  return {};
}

void PictureFile::Write(const std::string& path, Format format, QSize size, const Painting& paint) {
  const QByteArray bytes = Render(format, size, paint);
  if (bytes.isEmpty()) throw IoError(path, "the picture cannot be drawn");
  WriteFileAtomically(path, std::string_view(bytes.constData(), size_t(bytes.size())));
}

void PictureFile::Write(const std::string& path, Format format, QSize size, const Drawing& draw) {
  Write(path, format, size, OnCanvas(draw));
}

PictureFile::Painting PictureFile::OnCanvas(const Drawing& draw) {
  return [draw](QPainter& painter, QSize) {
    QtCanvas canvas(painter);
    draw(canvas);
  };
}

}  // namespace velmora
