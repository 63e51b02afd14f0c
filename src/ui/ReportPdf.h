#pragma once

#include <string>

namespace velmora {

class ReportPages;

// The report's pages as an A4 PDF file, drawn through the panes' Qt canvas. Throws IoError
// when they cannot be drawn.
class ReportPdf {
 public:
  static constexpr int kResolution = 600;
  static std::string Bytes(const ReportPages& pages);
};

}  // namespace velmora
