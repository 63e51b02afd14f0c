#include "marks/MarkJournal.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <ctime>
#include <new>
#include <string_view>

#include <fmt/format.h>

#include "core/AnalysisState.h"
#include "core/AtomicFile.h"
#include "core/Errors.h"
#include "core/Limits.h"
#include "marks/MarkStore.h"

namespace velmora {

namespace {

constexpr std::string_view kFirstLine = "velmora-journal 1";

struct Batch {
  std::vector<std::pair<int, MarkRecord>> slots;
  std::optional<int> count;
  int64_t writtenMs = 0;
  int endLine = 0;
};

bool SameInFile(const MarkRecord& a, const MarkRecord& b) {
  return a.Electrode == b.Electrode && a.Kind == b.Kind && a.Time == b.Time && a.Spare1 == b.Spare1 &&
         a.Spare2 == b.Spare2 && a.Origin == b.Origin && a.Spare3 == b.Spare3;
}

int64_t NowMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

// Reads the numbers of one journal line after its letter, each within [low, high].
class LineNumbers {
 public:
  LineNumbers(const std::string& path, int line, std::string_view rest) : path_(path), line_(line), rest_(rest) {}
  int64_t Next(int64_t low, int64_t high) {
    while (!rest_.empty() && rest_.front() == ' ') rest_.remove_prefix(1);
    int64_t value = 0;
    const auto [end, error] = std::from_chars(rest_.data(), rest_.data() + rest_.size(), value);
    if (error != std::errc() || value < low || value > high)
      throw ConversionError(path_, line_, fmt::format("expected a number from {} to {}", low, high));
    rest_.remove_prefix(size_t(end - rest_.data()));
    return value;
  }
  void End() const {
    if (!rest_.empty()) throw ConversionError(path_, line_, "more on the line than it should hold");
  }

 private:
  const std::string& path_;
  int line_;
  std::string_view rest_;
};

MarkRecord ReadSlot(LineNumbers& numbers) {
  MarkRecord mark;
  mark.Electrode = uint16_t(numbers.Next(0, UINT16_MAX));
  mark.Kind = int16_t(numbers.Next(INT16_MIN, INT16_MAX));
  mark.Time = int32_t(numbers.Next(INT32_MIN, INT32_MAX));
  mark.Spare1 = int16_t(numbers.Next(INT16_MIN, INT16_MAX));
  mark.Spare2 = uint16_t(numbers.Next(0, UINT16_MAX));
  mark.Origin = int16_t(numbers.Next(INT16_MIN, INT16_MAX));
  mark.Spare3 = uint16_t(numbers.Next(0, UINT16_MAX));
  return mark;
}

// The complete batches of a journal; a last batch without its end line was cut by a crash.
std::vector<Batch> ParseJournal(const std::string& path, const std::string& text) {
  std::vector<Batch> batches;
  Batch open;
  size_t start = 0;
  for (int line = 1; start < text.size(); ++line) {
    const size_t end = text.find('\n', start);
    if (end == std::string::npos) break;  // a line cut short by a crash
    const std::string_view content(text.data() + start, end - start);
    start = end + 1;
    if (line == 1) {
      if (content != kFirstLine) throw ConversionError(path, 1, "not a mark journal");
      continue;
    }
    if (content.empty()) throw ConversionError(path, line, "an empty line");
    LineNumbers numbers(path, line, content.substr(1));
    switch (content.front()) {
      case 'S': {
        const int slot = int(numbers.Next(1, kMaxMarks));
        open.slots.emplace_back(slot, ReadSlot(numbers));
        break;
      }
      case 'C': open.count = int(numbers.Next(0, kMaxMarks)); break;
      case 'E':
        open.writtenMs = numbers.Next(0, INT64_MAX);
        open.endLine = line;
        batches.push_back(std::move(open));
        open = Batch{};
        break;
      default: throw ConversionError(path, line, fmt::format("unknown line kind '{}'", content.front()));
    }
    numbers.End();
  }
  return batches;
}

std::vector<Batch> ReadJournal(const std::string& path) {
  if (!FileExists(path)) return {};
  return ParseJournal(path, ReadWholeFile(path));
}

void ApplyBatch(AnalysisState& s, const Batch& batch) {
  int64_t slots = batch.count.value_or(0);
  for (const auto& entry : batch.slots) slots = std::max<int64_t>(slots, entry.first);
  if (!MarkStore::MakeRoom(s, slots)) throw std::bad_alloc();
  for (const auto& [slot, record] : batch.slots) {
    MarkRecord& mark = s.Mark(slot);
    mark = record;
    mark.SerialNr = int16_t(slot);
    mark.Visible = 1;
    mark.Connected = 0;
    s.MarkAmplitudes[size_t(slot - 1)] = AmplitudeRecord{};
  }
  if (batch.count) s.MarkCount = *batch.count;
}

// The store only ever grows by the marks a batch writes, so a batch cannot reach past the
// slots known before it (those of the mark file and earlier batches) by more than the slots
// it writes there itself. A count or slot beyond would make up empty marks, and a store of
// any size with them.
void RefuseMadeUpSlots(const std::string& path, const std::vector<Batch>& batches, int markFileCount) {
  int64_t known = markFileCount;
  for (const Batch& batch : batches) {
    int64_t reach = known;
    for (const auto& entry : batch.slots) reach += entry.first > known ? 1 : 0;
    int64_t highest = batch.count.value_or(0);
    for (const auto& entry : batch.slots) highest = std::max<int64_t>(highest, entry.first);
    if (highest > reach)
      throw ConversionError(path, batch.endLine,
                            fmt::format("the edit reaches mark {}, but the mark file and the journal hold {}", highest,
                                        reach));
    known = std::max(known, highest);
  }
}

bool StillNamed(int fd, const std::string& path) {
  struct stat open {}, named {};
  return fstat(fd, &open) == 0 && stat(path.c_str(), &named) == 0 && open.st_dev == named.st_dev &&
         open.st_ino == named.st_ino;
}

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

MarkJournal::~MarkJournal() { Close(); }

std::optional<PendingJournal> MarkJournal::Find(const std::string& markFile) {
  if (markFile.empty()) return std::nullopt;  // no mark file, nothing to journal beside it
  const std::string path = PathFor(markFile);
  const std::vector<Batch> batches = ReadJournal(path);
  if (batches.empty()) return std::nullopt;
  return PendingJournal{path, int(batches.size()), batches.back().writtenMs};
}

int MarkJournal::Replay(AnalysisState& s) {
  if (s.MarkFileName.empty()) return 0;
  const std::string path = PathFor(s.MarkFileName);
  const std::vector<Batch> batches = ReadJournal(path);
  RefuseMadeUpSlots(path, batches, s.MarkCount);
  for (const Batch& batch : batches) ApplyBatch(s, batch);
  if (!batches.empty()) {
    s.MarksChanged = true;
    s.AmplitudesValid = false;
    s.WavesStale = true;
  }
  return int(batches.size());
}

std::string MarkJournal::SetAside(const std::string& markFile) {
  const std::string path = PathFor(markFile);
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
  std::string aside = path + ".set-aside-" + stamp;
  for (int n = 2; FileExists(aside); ++n) aside = path + ".set-aside-" + stamp + "-" + std::to_string(n);
  if (std::rename(path.c_str(), aside.c_str()) != 0)
    throw IoError(path, fmt::format("the journal cannot be set aside: {}", std::strerror(errno)));
  return aside;
}

void MarkJournal::Bind(const AnalysisState& s) {
  Close();
  markFile_ = s.MarkFileName;
  written_.assign(s.Marks.begin(), s.Marks.begin() + std::clamp(s.MarkCount, 0, kMaxMarks));
}

void MarkJournal::Record(const AnalysisState& s, bool commandEnd) {
  if (!Bound() || s.MarkFileName != markFile_) return;
  const std::string changes = Changes(s);
  const bool syncDue = std::chrono::steady_clock::now() - lastSync_ >= kSyncInterval;
  if (!changes.empty()) Append(changes + fmt::format("E {}\n", NowMs()), commandEnd || syncDue);
}

void MarkJournal::Discard(const AnalysisState& s) {
  Close();
  if (!markFile_.empty() && unlink(PathFor(markFile_).c_str()) != 0 && errno != ENOENT)
    throw IoError(PathFor(markFile_), fmt::format("the journal cannot be removed: {}", std::strerror(errno)));
  Bind(s);
}

std::string MarkJournal::Changes(const AnalysisState& s) {
  const int count = std::clamp(s.MarkCount, 0, kMaxMarks), before = int(written_.size());
  std::string text;
  for (int n = 1; n <= count; ++n) {
    const MarkRecord& mark = s.Mark(n);
    if (n <= before && SameInFile(mark, written_[size_t(n - 1)])) continue;
    text += fmt::format("S {} {} {} {} {} {} {} {}\n", n, mark.Electrode, mark.Kind, mark.Time, mark.Spare1,
                        mark.Spare2, mark.Origin, mark.Spare3);
  }
  if (count != before) text += fmt::format("C {}\n", count);
  written_.assign(s.Marks.begin(), s.Marks.begin() + count);
  return text;
}

void MarkJournal::Append(const std::string& text, bool sync) {
  const std::string path = PathFor(markFile_);
  const auto fail = [&path](const char* what) {
    throw IoError(path, fmt::format("the journal cannot be {}: {}", what, std::strerror(errno)));
  };
  std::string bytes = text;
  if (fd_ >= 0 && !StillNamed(fd_, path)) Close();  // set aside or removed meanwhile: start anew
  if (fd_ < 0) {
    fd_ = open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd_ < 0) fail("opened");
    struct stat status {};
    if (fstat(fd_, &status) == 0 && status.st_size == 0) bytes = std::string(kFirstLine) + "\n" + bytes;
    sync = true;  // a new journal is synced with its folder, so it is found after a crash
    const int folder = open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) fsync(folder), close(folder);
  }
  for (size_t done = 0; done < bytes.size();) {
    const ssize_t n = write(fd_, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) fail("written");
    done += size_t(n);
  }
  if (sync) {
    if (fsync(fd_) != 0) fail("synced");
    lastSync_ = std::chrono::steady_clock::now();
  }
}

void MarkJournal::Close() {
  if (fd_ >= 0) {
    fsync(fd_);
    close(fd_);
  }
  fd_ = -1;
}

}  // namespace velmora
