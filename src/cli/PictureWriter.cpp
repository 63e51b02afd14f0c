#include "cli/PictureWriter.h"

#include <optional>

#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

#include "core/Errors.h"
#include "ui/QtCanvas.h"

namespace velmora::cli {

namespace {

// The panes' back buffers are 96 dpi: 3780 dots per meter.
constexpr int kDotsPerInch = 96;
constexpr int kDotsPerMeter = 3780;

QString ToQString(const std::string& text) { return QString::fromStdString(text); }

// Draws on `device` through a QtCanvas; a device that cannot be painted on (a file that
// cannot be opened for writing) is an IoError.
void Paint(QPaintDevice& device, const std::string& path, const PictureWriter::Drawing& draw) {
  QPainter painter;
  if (!painter.begin(&device)) throw IoError(path, "the picture cannot be written");
  {
    QtCanvas canvas(painter);
    draw(canvas);
  }
  if (!painter.end()) throw IoError(path, "the picture cannot be written");
}

}  // namespace

void PictureWriter::WithGuiApplication(const std::function<void()>& body) {
  // The offscreen platform lets the tool run on machines without a display, while an
  // explicit QT_QPA_PLATFORM still wins.
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "velmora-cli";
  static char* argv[] = {name, nullptr};
  std::optional<QGuiApplication> app;
  if (QGuiApplication::instance() == nullptr) app.emplace(argc, argv);
  body();
}

void PictureWriter::Write(const std::string& path, Format format, int width, int height, const Drawing& draw) {
  WithGuiApplication([&] {
    switch (format) {
      case Format::Png: WritePng(path, width, height, draw); break;
      case Format::Pdf: WritePdf(path, width, height, draw); break;
      case Format::Svg: WriteSvg(path, width, height, draw); break;
    }
  });
}

void PictureWriter::WritePng(const std::string& path, int width, int height, const Drawing& draw) {
  QImage image(width, height, QImage::Format_RGB32);
  image.setDotsPerMeterX(kDotsPerMeter);
  image.setDotsPerMeterY(kDotsPerMeter);
  image.fill(Qt::white);
  Paint(image, path, draw);
  if (!image.save(ToQString(path), "PNG")) throw IoError(path, "the picture cannot be written");
}

void PictureWriter::WritePdf(const std::string& path, int width, int height, const Drawing& draw) {
  QPdfWriter writer(ToQString(path));
  // One page exactly the size of the pane: 72 points per inch against the pane's 96 pixels.
  const QSizeF points(width * 72.0 / kDotsPerInch, height * 72.0 / kDotsPerInch);
  writer.setPageLayout(QPageLayout(QPageSize(points, QPageSize::Point, QString(), QPageSize::ExactMatch),
                                   QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
  writer.setResolution(kDotsPerInch);
  writer.setCreator("velmora-cli");
  Paint(writer, path, draw);
}

void PictureWriter::WriteSvg(const std::string& path, int width, int height, const Drawing& draw) {
  QSvgGenerator generator;
  generator.setFileName(ToQString(path));
  generator.setSize(QSize(width, height));
  generator.setViewBox(QRect(0, 0, width, height));
  generator.setResolution(kDotsPerInch);
  Paint(generator, path, draw);
}

}  // namespace velmora::cli
