#include "input/WholeRecordsView.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

#include <fmt/format.h>

#include "core/Errors.h"

namespace velmora {

namespace {

constexpr int64_t kFixedHeader = 256, kCountAt = 236, kCountWidth = 8;
constexpr int64_t kLabelAt = 256, kLabelWidth = 16, kSamplesAt = 216, kSamplesWidth = 8;

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int Get() const { return fd_; }
  int Release() { return std::exchange(fd_, -1); }

 private:
  int fd_;
};

[[noreturn]] void Fail(const std::string& path, const char* doing) {
  throw IoError(path, fmt::format("{}: {}", doing, std::strerror(errno)));
}

void ReadExactly(int fd, const std::string& path, char* into, int64_t count, int64_t at) {
  while (count > 0) {
    const ssize_t n = ::pread(fd, into, size_t(count), at);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) Fail(path, "cannot read the file");
    into += n, count -= n, at += n;
  }
}

void WriteExactly(int fd, const std::string& path, const char* from, int64_t count, int64_t at) {
  while (count > 0) {
    const ssize_t n = ::pwrite(fd, from, size_t(count), at);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) Fail(path, "cannot build the view of the file's whole records");
    from += n, count -= n, at += n;
  }
}

std::string_view Field(const std::string& header, int64_t at, int64_t width) {
  return std::string_view(header).substr(size_t(at), size_t(width));
}

// The header check has made sure every field read here holds a whole number.
int64_t SamplesPerRecord(const std::string& header, int signals, int s) {
  const std::string text(Field(header, kFixedHeader + kSamplesAt * signals + s * kSamplesWidth, kSamplesWidth));
  return std::strtoll(text.c_str(), nullptr, 10);
}

bool IsAnnotationSignal(const std::string& header, int s) {
  const std::string_view label = Field(header, kLabelAt + s * kLabelWidth, kLabelWidth);
  return label.rfind("EDF Annotations", 0) == 0 || label.rfind("BDF Annotations", 0) == 0;
}

}  // namespace

WholeRecordsView::Records WholeRecordsView::Measure(int fd, const std::string& path,
                                                    const AcquisitionHeaderCheck::Facts& facts) {
  Records records;
  records.header.resize(size_t(facts.headerBytes));
  ReadExactly(fd, path, records.header.data(), facts.headerBytes, 0);
  const int bytesPerSample = facts.kind == AcquisitionHeaderCheck::Kind::Bdf ? 3 : 2;
  for (int s = 0; s < facts.signalCount; ++s)
    records.bytes += SamplesPerRecord(records.header, facts.signalCount, s) * bytesPerSample;
  struct stat file {};
  if (::fstat(fd, &file) != 0) Fail(path, "cannot read the file's size");
  records.whole = records.bytes > 0 ? (int64_t(file.st_size) - facts.headerBytes) / records.bytes : 0;
  return records;
}

void WholeRecordsView::CopyAnnotations(int from, int to, const std::string& path, const Records& records,
                                       const AcquisitionHeaderCheck::Facts& facts) {
  const int bytesPerSample = facts.kind == AcquisitionHeaderCheck::Kind::Bdf ? 3 : 2;
  int64_t offset = 0;
  std::vector<char> bytes;
  for (int s = 0; s < facts.signalCount; ++s) {
    const int64_t width = SamplesPerRecord(records.header, facts.signalCount, s) * bytesPerSample;
    if (IsAnnotationSignal(records.header, s)) {
      bytes.resize(size_t(width));
      for (int64_t r = 0; r < records.whole; ++r) {
        const int64_t at = facts.headerBytes + r * records.bytes + offset;
        ReadExactly(from, path, bytes.data(), width, at);
        WriteExactly(to, path, bytes.data(), width, at);
      }
    }
    offset += width;
  }
}

std::string WholeRecordsView::PathFor(const std::string& path, const AcquisitionHeaderCheck::Facts& facts) {
  if (facts.kind == AcquisitionHeaderCheck::Kind::Gdf || facts.recordsInHeader < 0) return path;
  const Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (file.Get() < 0) Fail(path, "cannot open the file");
  Records records = Measure(file.Get(), path, facts);
  if (facts.recordsInHeader <= records.whole) return path;
  Descriptor view(::memfd_create("whole-records", MFD_CLOEXEC));
  if (view.Get() < 0) Fail(path, "cannot build the view of the file's whole records");
  const std::string count = fmt::format("{:<8}", records.whole);
  records.header.replace(size_t(kCountAt), size_t(kCountWidth), count, 0, size_t(kCountWidth));
  if (::ftruncate(view.Get(), facts.headerBytes + records.whole * records.bytes) != 0)
    Fail(path, "cannot build the view of the file's whole records");
  WriteExactly(view.Get(), path, records.header.data(), facts.headerBytes, 0);
  CopyAnnotations(file.Get(), view.Get(), path, records, facts);
  return fmt::format("/proc/self/fd/{}", view.Release());
}

}  // namespace velmora
