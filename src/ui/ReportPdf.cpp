#include "ui/ReportPdf.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include "core/Errors.h"
#include "output/ReportPages.h"
#include "ui/QtCanvas.h"

namespace velmora {

std::string ReportPdf::Bytes(const ReportPages& pages) {
  constexpr double kPointsPerInch = 72.0;
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  {
    QPdfWriter writer(&buffer);
    writer.setResolution(kResolution);
    writer.setCreator("Velmora");
    writer.setTitle("Wave report");
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    QPainter painter;
    if (!painter.begin(&writer)) throw IoError("report", "the report cannot be drawn");
    {
      QtCanvas canvas(painter);
      for (int page = 0; page < pages.PageCount(); ++page) {
        if (page > 0) writer.newPage();
        pages.Draw(canvas, page, kResolution / kPointsPerInch);
      }
    }
    if (!painter.end()) throw IoError("report", "the report cannot be drawn");
  }
  const QByteArray& bytes = buffer.data();
  return std::string(bytes.constData(), size_t(bytes.size()));
}

}  // namespace velmora
