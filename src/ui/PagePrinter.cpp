#include "ui/PagePrinter.h"

#include <filesystem>

#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

#include "core/AnalysisState.h"
#include "core/AtomicFile.h"
#include "marks/RecordingFiles.h"
#include "core/Errors.h"
#include "output/PrintPage.h"
#include "output/PrintSettings.h"
#include "ui/QtCanvas.h"

namespace velmora {

namespace {

QPageLayout::Orientation Orientation(const PrintSettings& settings) {
  return settings.PrintOrientation == 1 ? QPageLayout::Portrait : QPageLayout::Landscape;
}

}  // namespace

bool PagePrinter::PaintPage(QPagedPaintDevice& device, AnalysisState& state, PrintSettings& settings,
                            const PrintSources& sources) {
  QPainter painter;
  if (!painter.begin(&device)) return false;
  {
    QtCanvas canvas(painter);
    PrintPage(state, settings, sources).Print(canvas, device.width(), device.height());
  }
  return painter.end();
}

bool PagePrinter::Print(QPrinter& printer, AnalysisState& state, PrintSettings& settings,
                        const PrintSources& sources) {
  printer.setResolution(kResolution);
  // The page's own margins are part of its layout: units count from the paper's corner.
  printer.setFullPage(true);
  printer.setPageOrientation(Orientation(settings));
  // The job's name in the queue: the recording printed.
  printer.setDocName(QString::fromStdString(std::filesystem::path(state.ElgFileName).filename().string()));
  return PaintPage(printer, state, settings, sources);
}

void PagePrinter::PrintToPdf(const std::string& path, AnalysisState& state, PrintSettings& settings,
                             const PrintSources& sources) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  {
    QPdfWriter writer(&buffer);
    writer.setResolution(kResolution);
    writer.setCreator("Velmora");
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), Orientation(settings), QMarginsF(0, 0, 0, 0)));
    if (!PaintPage(writer, state, settings, sources)) throw IoError(path, "the page cannot be drawn");
  }
  const QByteArray& bytes = buffer.data();
  RecordingFiles::Write(state, path, std::string_view(bytes.constData(), size_t(bytes.size())));
}

}  // namespace velmora
