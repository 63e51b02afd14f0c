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
#include "core/EchoedText.h"
#include "core/Errors.h"
#include "core/Limits.h"
#include "marks/MarkSettingsFile.h"
#include "marks/MarkStore.h"

namespace velmora {

namespace {

// Journals of the first layout have no base line and no settings; they are still replayed.
constexpr std::string_view kFirstLineBefore = "velmora-journal 1";
constexpr std::string_view kFirstLine = "velmora-journal 2";

struct Batch {
  std::vector<std::pair<int, MarkRecord>> slots;
  std::optional<int> count;
  std::string settingsText;  // the settings file's lines, when the batch changed them
  std::optional<MarkSettings> settings;
  int64_t writtenMs = 0;
  int endLine = 0;
};

struct Journal {
  std::optional<FileStamp> base;
  std::vector<Batch> batches;
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

// The size and hash of the mark file the journal was begun on; a size of -1 for none.
FileStamp ReadBase(LineNumbers& numbers) {
  FileStamp base;
  const int64_t size = numbers.Next(-1, INT64_MAX);
  base.exists = size >= 0;
  base.size = std::max<int64_t>(size, 0);
  base.hash = uint64_t(numbers.Next(INT64_MIN, INT64_MAX));
  return base;
}

void CloseBatch(const std::string& path, Batch& open, int line, int64_t writtenMs) {
  open.writtenMs = writtenMs;
  open.endLine = line;
  if (!open.settingsText.empty()) {
    try {
      open.settings = MarkSettingsFile::Parse(path, open.settingsText);
    } catch (const IoError& error) {
      throw ConversionError(path, line, "the settings of the edit ending here are broken: " + error.Problem());
    }
  }
}

// The complete batches of a journal; a last batch without its end line was cut by a crash.
Journal ParseJournal(const std::string& path, const std::string& text) {
  Journal journal;
  Batch open;
  size_t start = 0;
  bool secondLayout = false;
  for (int line = 1; start < text.size(); ++line) {
    const size_t end = text.find('\n', start);
    if (end == std::string::npos) break;  // a line cut short by a crash
    const std::string_view content(text.data() + start, end - start);
    start = end + 1;
    if (line == 1) {
      if (content != kFirstLine && content != kFirstLineBefore) throw ConversionError(path, 1, "not a mark journal");
      secondLayout = content == kFirstLine;
      continue;
    }
    if (content.empty()) throw ConversionError(path, line, "an empty line");
    LineNumbers numbers(path, line, content.substr(1));
    if (line == 2 && secondLayout && content.front() != 'B')
      throw ConversionError(path, line, "expected the mark file's size and hash");
    switch (content.front()) {
      case 'B':
        if (line != 2 || !secondLayout)
          throw ConversionError(path, line, "the mark file's size and hash belong on line 2");
        journal.base = ReadBase(numbers);
        break;
      case 'S': {
        const int slot = int(numbers.Next(1, kMaxMarks));
        open.slots.emplace_back(slot, ReadSlot(numbers));
        break;
      }
      case 'C': open.count = int(numbers.Next(0, kMaxMarks)); break;
      case 'T':
        if (!secondLayout || content.size() < 2 || content[1] != ' ')
          throw ConversionError(path, line, "a settings line must start with \"T \"");
        open.settingsText.append(content.substr(2)).append("\n");
        continue;
      case 'E':
        CloseBatch(path, open, line, numbers.Next(0, INT64_MAX));
        journal.batches.push_back(std::move(open));
        open = Batch{};
        break;
      default:
        throw ConversionError(path, line,
                              fmt::format("unknown line kind '{}'", EchoedText::Token(content.substr(0, 1))));
    }
    numbers.End();
  }
  return journal;
}

Journal ReadJournal(const std::string& path) {
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
  if (batch.settings) s.MarkingSettings = *batch.settings;
}

// Edits replayed onto a mark file other than the one they were made on would land on other
// marks, or on none.
void RefuseChangedBase(const std::string& path, const std::string& markFile, const std::optional<FileStamp>& base) {
  if (!base) return;
  const FileStamp now = FileStamp::Now(markFile);
  if (now.SameContent(*base)) return;
  const auto size = [](const FileStamp& stamp) {
    return stamp.exists ? fmt::format("{} bytes", stamp.size) : std::string("no file");
  };
  throw IoError(path, fmt::format("the edits were made on {} as it was then ({}), but it has been changed since "
                                  "({} now); they are not put onto other marks",
                                  markFile, size(*base), size(now)));
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
  const std::vector<Batch> batches = ReadJournal(path).batches;
  if (batches.empty()) return std::nullopt;
  return PendingJournal{path, int(batches.size()), batches.back().writtenMs};
}

int MarkJournal::Replay(AnalysisState& s) {
  if (s.MarkFileName.empty()) return 0;
  const std::string path = PathFor(s.MarkFileName);
  const Journal journal = ReadJournal(path);
  const std::vector<Batch>& batches = journal.batches;
  if (!batches.empty()) RefuseChangedBase(path, s.MarkFileName, journal.base);
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
  settingsWritten_ = s.MarkingSettings;
  base_ = s.MarkFileStamp;
}

void MarkJournal::Unbind() {
  Close();
  markFile_.clear();
  written_.clear();
}

void MarkJournal::Record(const AnalysisState& s, bool commandEnd) {
  if (!Bound() || s.MarkFileName != markFile_) return;
  const std::string changes = Changes(s);
  const bool syncDue = std::chrono::steady_clock::now() - lastSync_ >= kSyncInterval;
  if (!changes.empty()) Append(changes + fmt::format("E {}\n", NowMs()), commandEnd || syncDue);
}

void MarkJournal::Discard(const AnalysisState& s) {
  // A journal followed by nobody here is another session's, or waits for the user: it stays.
  if (!Bound()) return;
  Close();
  if (unlink(PathFor(markFile_).c_str()) != 0 && errno != ENOENT)
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
  if (!(s.MarkingSettings == settingsWritten_)) {
    const std::string settingsText = MarkSettingsFile::Text(s.MarkingSettings);
    std::string_view settings = settingsText;
    for (size_t end; !settings.empty(); settings.remove_prefix(end + 1)) {
      end = settings.find('\n');
      text += "T " + std::string(settings.substr(0, end)) + "\n";
    }
    settingsWritten_ = s.MarkingSettings;
  }
  return text;
}

void MarkJournal::Append(const std::string& text, bool sync) {
  const std::string path = PathFor(markFile_);
  const auto fail = [&path](const char* what) {
    throw IoError(path, fmt::format("the journal cannot be {}: {}", what, std::strerror(errno)));
  };
  std::string bytes = text;
  if (fd_ >= 0 && !StillNamed(fd_, path)) Close();  // set aside or removed meanwhile: start anew
  bool created = false;
  if (fd_ < 0) {
    // Non-blocking for the open: a named pipe put here would hang the session.
    fd_ = open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_NONBLOCK | O_CLOEXEC, 0644);
    if (fd_ < 0) fail("opened");
    struct stat status {};
    if (fstat(fd_, &status) != 0 || !S_ISREG(status.st_mode)) {
      Close();
      errno = EINVAL;
      throw IoError(path, "the journal cannot be opened: it is not a file");
    }
    if (status.st_size == 0) {
      created = true;
      bytes = fmt::format("{}\nB {} {}\n", kFirstLine, base_.exists ? base_.size : -1, int64_t(base_.hash)) + bytes;
    }
    sync = true;  // a new journal is synced with its folder, so it is found after a crash
    const int folder = open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) fsync(folder), close(folder);
  }
  for (size_t done = 0; done < bytes.size();) {
    const ssize_t n = write(fd_, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      // A journal that could not even take its first edit (a full disk) holds nothing worth
      // offering; it goes, not to be mistaken later for one a crash left.
      const int error = n < 0 ? errno : ENOSPC;
      if (created) Close(), unlink(path.c_str());
      errno = error;
      fail("written");
    }
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
