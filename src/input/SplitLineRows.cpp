#include "input/SplitLineRows.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <string_view>
#include <system_error>
#include <thread>

#include "core/Errors.h"
#include "input/RowProgress.h"
#include "input/TextLines.h"
#include "input/TextRecording.h"

namespace velmora {

namespace {

constexpr std::string_view kSpaces = " \t\r\f\v\n";

// What the second thread reads and reports back: its rows, how far it got, and the refusal
// that stopped it with the number of rows it had read before. Its lines are counted from the
// split; the first half's count is added once that is known.
struct SecondHalf {
  std::vector<int32_t> values;
  std::atomic<int> rowsRead{0};
  std::atomic<bool> stop{false};
  std::exception_ptr error;
  int rowsBeforeError = 0;

  [[noreturn]] void Rethrow(const std::string& path, int linesBefore) const {
    try {
      std::rethrow_exception(error);
    } catch (const ConversionError& refusal) {
      throw ConversionError(path, linesBefore + refusal.Line(), refusal.Detail());
    }
  }
};

// One row more in `values`, as room for ReadRow to fill.
int32_t* NewRow(std::vector<int32_t>& values, int channels) {
  values.resize(values.size() + size_t(channels));
  return values.data() + values.size() - size_t(channels);
}

void ReadSecondHalf(TextLines lines, int64_t most, int channels, const SplitLineRows::ReadRow& readRow,
                    SecondHalf& half) {
  int r = 0;
  try {
    for (; r < most; ++r) {
      if (!readRow(lines, NewRow(half.values, channels))) {
        half.values.resize(size_t(r) * size_t(channels));
        break;
      }
      if ((r + 1) % RowProgress::kRowsPerStep != 0) continue;
      half.rowsRead.store(r + 1, std::memory_order_relaxed);
      if (half.stop.load(std::memory_order_relaxed)) return;
    }
  } catch (...) {
    half.error = std::current_exception();
    half.rowsBeforeError = r;
    half.values.resize(size_t(r) * size_t(channels));
  }
  half.rowsRead.store(r, std::memory_order_relaxed);
}

// Stops the second thread and waits for it, however the first half ends.
struct SecondThread {
  SecondHalf& half;
  std::thread thread;
  ~SecondThread() {
    half.stop.store(true, std::memory_order_relaxed);
    if (thread.joinable()) thread.join();
  }
};

// Where the second half begins: the first line that starts after the middle of the data.
size_t SplitPoint(std::string_view text, size_t first, size_t last) {
  if (last == std::string_view::npos || last < first || last - first < SplitLineRows::kFewestBytes)
    return std::string_view::npos;
  const size_t lineEnd = text.find('\n', first + (last - first) / 2);
  return lineEnd == std::string_view::npos || lineEnd >= last ? std::string_view::npos : lineEnd + 1;
}

}  // namespace

int SplitLineRows::Read(TextLines& lines, int64_t most, int channels, std::vector<int32_t>& values,
                        const ReadRow& readRow, RowProgress& progress) {
  const std::string_view text = lines.Text();
  const size_t first = lines.NextLineStart();
  const size_t split = SplitPoint(text, first, text.find_last_not_of(kSpaces));
  // Room is kept (not filled) for as many rows as the text can hold, so rows are added in place.
  values.reserve(size_t(std::min<int64_t>(most, TextSamples::MostRowsIn(text.substr(std::min(first, text.size())),
                                                                          channels))) * size_t(channels));
  if (split == std::string_view::npos || std::thread::hardware_concurrency() < 2)
    return ReadInOrder(lines, std::string_view::npos, most, channels, values, readRow, progress, nullptr);
  SecondHalf second;
  SecondThread worker{second, {}};
  second.values.reserve(values.capacity() / 2);
  try {
    worker.thread = std::thread(ReadSecondHalf, TextLines(lines.Path(), text, split, 0), most, channels,
                                std::cref(readRow), std::ref(second));
  } catch (const std::system_error&) {  // no thread to be had
    return ReadInOrder(lines, std::string_view::npos, most, channels, values, readRow, progress, nullptr);
  }
  const int rows = ReadInOrder(lines, split, most, channels, values, readRow, progress, &second.rowsRead);
  worker.thread.join();
  // The first half read every line before the split unless it stopped at `most` rows, when
  // nothing of the second half counts.
  if (second.error && rows + second.rowsBeforeError < most) second.Rethrow(lines.Path(), lines.LineNumber());
  const size_t secondRows = size_t(std::min<int64_t>(second.rowsRead.load(), most - rows));
  values.insert(values.end(), second.values.begin(), second.values.begin() + ptrdiff_t(secondRows * size_t(channels)));
  progress.Reach(rows + int(secondRows));
  return rows + int(secondRows);
}

int SplitLineRows::ReadInOrder(TextLines& lines, size_t end, int64_t most, int channels, std::vector<int32_t>& values,
                               const ReadRow& readRow, RowProgress& progress,
                               const std::atomic<int>* rowsElsewhere) {
  int r = 0;
  for (; r < most && lines.NextLineStart() < end; ++r) {
    if (!readRow(lines, NewRow(values, channels))) {
      values.resize(size_t(r) * size_t(channels));
      break;
    }
    const int elsewhere = rowsElsewhere != nullptr ? rowsElsewhere->load(std::memory_order_relaxed) : 0;
    progress.Reach(int(std::min<int64_t>(most, r + 1 + elsewhere)));
  }
  return r;
}

}  // namespace velmora
