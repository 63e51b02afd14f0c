#pragma once

#include <string>

namespace velmora {

class ReportPages;

// Writes the report's pages as an A4 PDF file through the panes' Qt canvas, whole or not at
// all. Throws IoError.
class ReportPdf {
 public:
  static constexpr int kResolution = 600;
  static void Write(const std::string& path, const ReportPages& pages);
};

}  // namespace velmora
