#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace velmora {

class RowProgress;
class TextLines;

// Reads the sample rows of a text with one row per line on two threads when it is large. The
// text is cut into pieces at line starts; the calling thread reads them from the front, in
// order, and keeps the progress panel and Cancel, a second thread reads them from the back into
// rows of its own, which are then appended; whichever thread the machine gives more time to
// reads more pieces. The values, the refusal (that of the first broken line), the progress
// steps and their texts are those of reading the rows one after the other.
class SplitLineRows {
 public:
  // Reads one row from the line after the current one into `row`; false when only blank
  // lines remain; throws on a bad line.
  using ReadRow = std::function<bool(TextLines& lines, int32_t* row)>;

  static constexpr size_t kFewestBytes = size_t(1) << 18;  // smaller texts are read on one thread

  // Reads at most `most` rows of `channels` values from the line after `lines`' current one
  // into `values`; returns the number read. `lines` ends past the last row the calling thread
  // read.
  static int Read(TextLines& lines, int64_t most, int channels, std::vector<int32_t>& values, const ReadRow& readRow,
                  RowProgress& progress);

 private:
  // Rows of the lines before `end` (the whole text when it is npos) on the calling thread, after
  // those already in `values`; returns the rows in `values` then.
  static int ReadInOrder(TextLines& lines, size_t end, int64_t most, int channels, std::vector<int32_t>& values,
                         const ReadRow& readRow, RowProgress& progress, const std::atomic<int>* rowsElsewhere);
};

}  // namespace velmora
