#pragma once

#include <string>

namespace velmora::cli {

class WaveResults;

// Writes the report of the analysed recording as a PDF file. Throws IoError, or a
// runtime_error in a build without Qt, which cannot draw PDF files.
void WriteReport(const std::string& path, WaveResults& results);

}  // namespace velmora::cli
