#include "input/SplitLineRows.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <string>
#include <string_view>
#include <system_error>
#include <thread>
#include <utility>

#include "core/Errors.h"
#include "input/RowProgress.h"
#include "input/TextLines.h"
#include "input/TextRecording.h"

namespace velmora {

namespace {

constexpr std::string_view kSpaces = " \t\r\f\v\n";
constexpr size_t kFewestPieceBytes = size_t(1) << 16;
constexpr size_t kMostPieces = 16;

// A piece of the text the second thread read: its rows, the lines it took, and the refusal that
// stopped it (after `rows` rows). Line numbers count from the piece's start.
struct Piece {
  std::vector<int32_t> values;
  int rows = 0;
  int lines = 0;
  std::exception_ptr error;
};

// The pieces of the text, handed out from both ends: the calling thread takes them from the
// front, in order, the second thread from the back, so each reads as much as its processor gives
// it time for and neither waits for the other longer than one piece takes.
class PieceQueue {
 public:
  explicit PieceQueue(int count) : back_(count - 1) {}
  // The next piece from the front or the back; -1 when none is left.
  int TakeFront() {
    const std::lock_guard<std::mutex> lock(mutex_);
    return front_ <= back_ ? front_++ : -1;
  }
  int TakeBack() {
    const std::lock_guard<std::mutex> lock(mutex_);
    return front_ <= back_ ? back_-- : -1;
  }

 private:
  std::mutex mutex_;
  int front_ = 0;
  int back_;
};

// What both threads see: where the pieces begin (piece k is [starts[k], starts[k + 1])), the
// queue, the second thread's pieces, its rows so far (for the progress panel) and the stop.
struct Split {
  std::vector<size_t> starts;
  PieceQueue queue;
  std::vector<Piece> pieces;
  std::atomic<int> rowsElsewhere{0};
  std::atomic<bool> stop{false};

  explicit Split(std::vector<size_t> pieceStarts)
      : starts(std::move(pieceStarts)), queue(int(starts.size()) - 1), pieces(starts.size() - 1) {}
  int Count() const { return int(pieces.size()); }
};

// One row more in `values`, as room for ReadRow to fill.
int32_t* NewRow(std::vector<int32_t>& values, int channels) {
  values.resize(values.size() + size_t(channels));
  return values.data() + values.size() - size_t(channels);
}

// The rows of piece `p` read into its own store; a refusal ends the piece, not the thread: the
// pieces before it in the text still count.
void ReadPiece(const std::string& path, std::string_view text, int p, int64_t most, int channels,
               const SplitLineRows::ReadRow& readRow, Split& split) {
  Piece& piece = split.pieces[size_t(p)];
  TextLines lines(path, text, split.starts[size_t(p)], 0);
  try {
    while (piece.rows < most && lines.NextLineStart() < split.starts[size_t(p) + 1]) {
      if (!readRow(lines, NewRow(piece.values, channels))) break;
      if (++piece.rows % RowProgress::kRowsPerStep != 0) continue;
      split.rowsElsewhere.fetch_add(RowProgress::kRowsPerStep, std::memory_order_relaxed);
      if (split.stop.load(std::memory_order_relaxed)) return;
    }
  } catch (...) {
    piece.error = std::current_exception();
  }
  piece.values.resize(size_t(piece.rows) * size_t(channels));
  piece.lines = lines.LineNumber();
}

void ReadBackPieces(const std::string& path, std::string_view text, int64_t most, int channels,
                    const SplitLineRows::ReadRow& readRow, Split& split) {
  for (int p = split.queue.TakeBack(); p >= 0 && !split.stop.load(std::memory_order_relaxed);
       p = split.queue.TakeBack())
    ReadPiece(path, text, p, most, channels, readRow, split);
}

// The refusal of a piece the second thread read, its line counted from the text's start.
[[noreturn]] void Rethrow(const std::exception_ptr& error, const std::string& path, int linesBefore) {
  try {
    std::rethrow_exception(error);
  } catch (const ConversionError& refusal) {
    throw ConversionError(path, linesBefore + refusal.Line(), refusal.Detail());
  }
}

// Stops the second thread and waits for it, however the calling thread's reading ends.
struct SecondThread {
  Split& split;
  std::thread thread;
  ~SecondThread() {
    split.stop.store(true, std::memory_order_relaxed);
    if (thread.joinable()) thread.join();
  }
};

// Where the pieces of [first, last] begin: at the first line start after each equal share of
// the bytes; empty when the text is too small to be worth a second thread.
std::vector<size_t> PieceStarts(std::string_view text, size_t first, size_t last) {
  if (last == std::string_view::npos || last < first || last - first < SplitLineRows::kFewestBytes) return {};
  const size_t count = std::clamp<size_t>((last - first) / kFewestPieceBytes, 2, kMostPieces);
  std::vector<size_t> starts = {first};
  for (size_t k = 1; k < count; ++k) {
    const size_t lineEnd = text.find('\n', first + (last - first) * k / count);
    if (lineEnd == std::string_view::npos || lineEnd >= last) break;
    if (lineEnd + 1 > starts.back()) starts.push_back(lineEnd + 1);
  }
  if (starts.size() < 2) return {};
  starts.push_back(text.size());
  return starts;
}

}  // namespace

int SplitLineRows::Read(TextLines& lines, int64_t most, int channels, std::vector<int32_t>& values,
                        const ReadRow& readRow, RowProgress& progress) {
  const std::string_view text = lines.Text();
  const size_t first = lines.NextLineStart();
  std::vector<size_t> starts = PieceStarts(text, first, text.find_last_not_of(kSpaces));
  // Room is kept (not filled) for as many rows as the text can hold, so rows are added in place.
  values.reserve(size_t(std::min<int64_t>(most, TextSamples::MostRowsIn(text.substr(std::min(first, text.size())),
                                                                          channels))) * size_t(channels));
  if (starts.empty() || std::thread::hardware_concurrency() < 2)
    return ReadInOrder(lines, std::string_view::npos, most, channels, values, readRow, progress, nullptr);
  Split split(std::move(starts));
  SecondThread worker{split, {}};
  try {
    worker.thread = std::thread(ReadBackPieces, lines.Path(), text, most, channels, std::cref(readRow), std::ref(split));
  } catch (const std::system_error&) {  // no thread to be had
    return ReadInOrder(lines, std::string_view::npos, most, channels, values, readRow, progress, nullptr);
  }
  int rows = 0;
  int front = 0;  // pieces [0, front) are read here, the rest on the second thread
  for (int p = 0; rows < most && (p = split.queue.TakeFront()) >= 0; front = p + 1)
    rows = ReadInOrder(lines, split.starts[size_t(p) + 1], most, channels, values, readRow, progress,
                       &split.rowsElsewhere);
  if (rows >= most) split.stop.store(true, std::memory_order_relaxed);  // the rest would not count
  worker.thread.join();
  // Once the calling thread has `most` rows nothing after them counts; else its pieces are
  // followed by the second thread's, in the order of the text.
  int linesBefore = lines.LineNumber();
  for (int p = front; p < split.Count() && rows < most; ++p) {
    const Piece& piece = split.pieces[size_t(p)];
    const int taken = int(std::min<int64_t>(piece.rows, most - rows));
    values.insert(values.end(), piece.values.begin(), piece.values.begin() + ptrdiff_t(taken) * channels);
    rows += taken;
    if (piece.error && rows < most) Rethrow(piece.error, lines.Path(), linesBefore);
    linesBefore += piece.lines;
  }
  progress.Reach(rows);
  return rows;
}

int SplitLineRows::ReadInOrder(TextLines& lines, size_t end, int64_t most, int channels, std::vector<int32_t>& values,
                               const ReadRow& readRow, RowProgress& progress,
                               const std::atomic<int>* rowsElsewhere) {
  int r = int(values.size() / size_t(channels));
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
