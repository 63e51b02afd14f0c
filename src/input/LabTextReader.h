#pragma once

#include <string>
#include <string_view>

#include "input/RowProgress.h"
#include "input/TextRecording.h"

namespace velmora {

class Ui;

// Reads the samples of the three laboratory text layouts:
// - Auckland: a header, then a free stream of numbers (rows may break over lines anyhow),
//   stored times 100;
// - Manchester: 3 header lines, then per line an 11- and a 12-character field (never read)
//   and the numbers in volts, stored in microvolts;
// - Nashville: 3 header lines, then per line the tab-delimited numbers, stored as they are.
class LabTextReader {
 public:
  enum class Layout { Nashville, Auckland, Manchester };

  struct Request {
    Layout layout = Layout::Nashville;
    int channels = 0;     // numbers per sample row
    int rows = 0;         // sample rows to read at most
    int headerLines = 3;  // lines before the first sample
  };

  static constexpr int kRowsPerProgressStep = RowProgress::kRowsPerStep;

  // The samples of `text` (the contents of `path`). A file that ends at a row's end gives
  // the rows it holds; the progress goes to `ui` every 100 rows. Throws ConversionError
  // naming the line for a short row, a word where a number belongs or a file without samples.
  static TextSamples Parse(const std::string& path, std::string_view text, const Request& request, Ui& ui);
};

}  // namespace velmora
