#pragma once

#include <string>

class QPagedPaintDevice;
class QPrinter;

namespace velmora {

struct AnalysisState;
struct PrintSettings;
struct PrintSources;

// Puts the printed page on a printer or into a PDF file through the panes' Qt canvas, so
// paper, PDF and screen share one drawing. The page is laid out in units of 1/600 inch, the
// printer units its layout was made for.
class PagePrinter {
 public:
  static constexpr int kResolution = 600;

  // Prints one page on `printer` in the orientation the settings ask for. Returns false when
  // the printer cannot be painted on.
  static bool Print(QPrinter& printer, AnalysisState& state, PrintSettings& settings, const PrintSources& sources);
  // The same page as an A4 PDF file, written whole or not at all. Throws IoError.
  static void PrintToPdf(const std::string& path, AnalysisState& state, PrintSettings& settings,
                         const PrintSources& sources);

 private:
  static bool PaintPage(QPagedPaintDevice& device, AnalysisState& state, PrintSettings& settings,
                        const PrintSources& sources);
};

}  // namespace velmora
