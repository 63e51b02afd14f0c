#include "core/ReadableFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <exception>
#include <system_error>
#include <thread>
#include <utility>

#include <fmt/format.h>

#include "core/Errors.h"
#include "core/SignalStore.h"
#include "core/WriteTarget.h"

namespace velmora {

namespace {

std::string BytesText(int64_t bytes) {
  return bytes < 1000000 ? fmt::format("{} bytes", bytes) : SignalStore::SizeText(bytes);
}

// What a file read into memory may take at most: what is free, less what the program keeps.
int64_t MemoryForFile() { return std::max<int64_t>(SignalStore::AvailableBytes() - SignalStore::kReserveBytes, 0); }

}  // namespace

void ReadableFile::RefuseLargerThan(int64_t mostBytes, const std::string& what) const {
  if (size_ > mostBytes && !what.empty())
    throw IoError(path_, fmt::format("{}the file holds {}; {} holds at most {}", Prefix(), BytesText(size_), what,
                                     BytesText(mostBytes)));
  if (size_ > MemoryForFile())
    throw IoError(path_, fmt::format("{}the file holds {}, more than the {} of memory free to read it", Prefix(),
                                     BytesText(size_), BytesText(MemoryForFile())));
}

std::string ReadableFile::ReadLines(int64_t lines, size_t mostLineBytes) {
  constexpr size_t kBlock = size_t(1) << 20;
  const int64_t memory = MemoryForFile();
  std::string text;
  size_t lineStart = 0, scanned = 0;
  int64_t seen = 0;
  while (seen < lines) {
    if (int64_t(text.size() + kBlock) > memory)
      throw IoError(path_, fmt::format("{}its first {} lines need more than the {} of memory free", Prefix(), lines,
                                       BytesText(memory)));
    const size_t before = text.size();
    text.resize(before + kBlock);
    const size_t got = ReadInto(text.data() + before, kBlock, before);
    text.resize(before + got);
    while (seen < lines) {
      const void* end = std::memchr(text.data() + scanned, '\n', text.size() - scanned);
      if (end == nullptr) {
        scanned = text.size();
        break;
      }
      ++seen;
      scanned = lineStart = size_t(static_cast<const char*>(end) - text.data()) + 1;
    }
    if (seen < lines && text.size() - lineStart > mostLineBytes)
      throw IoError(path_, fmt::format("{}line {} is longer than {}: this is no text of lines", Prefix(), seen + 1,
                                       BytesText(int64_t(mostLineBytes))));
    if (got < kBlock) break;  // the end of the file
  }
  if (seen == lines) text.resize(lineStart);
  return text;
}

ReadableFile::ReadableFile(const std::string& path, const std::string& what) : path_(path), what_(what) {
  // Non-blocking only for the open itself: a named pipe without a writer would hang here.
  fd_ = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd_ < 0) throw IoError(path, Prefix() + "cannot be opened: " + std::strerror(errno));
  struct stat info {};
  if (::fstat(fd_, &info) != 0) {
    const int error = errno;
    ::close(fd_);
    throw IoError(path, Prefix() + "cannot be opened: " + std::strerror(error));
  }
  if (!S_ISREG(info.st_mode)) {
    ::close(fd_);
    throw IoError(path, Prefix() + "cannot be read: it is " + WriteTarget::KindOf(info.st_mode) + ", not a file");
  }
  ::fcntl(fd_, F_SETFL, ::fcntl(fd_, F_GETFL) & ~O_NONBLOCK);
  size_ = int64_t(info.st_size);
  modifiedNs_ = int64_t(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
}

ReadableFile::~ReadableFile() {
  if (fd_ >= 0) ::close(fd_);
}

std::string ReadableFile::Prefix() const { return what_.empty() ? "" : what_ + " "; }

std::string ReadableFile::ReadAll() {
  RefuseLargerThan(INT64_MAX, "");
  std::string bytes;
  bytes.reserve(size_t(size_));
  char buffer[1 << 16];
  for (;;) {
    const ssize_t n = ::read(fd_, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) throw IoError(path_, Prefix() + "cannot be read: " + std::strerror(errno));
    if (n == 0) return bytes;
    bytes.append(buffer, size_t(n));
  }
}

ReadableFile::Bytes ReadableFile::ReadAllBytes() {
  RefuseLargerThan(INT64_MAX, "");
  Bytes bytes;
  size_t room = size_t(size_) + 1;  // one byte more shows whether the file ended where it said
  bytes.data = std::make_unique_for_overwrite<char[]>(room);
  bytes.size = ReadStart(bytes.data.get(), size_t(size_));
  if (bytes.size < size_t(size_)) return bytes;  // the file ended sooner
  for (;;) {
    bytes.size += ReadInto(bytes.data.get() + bytes.size, room - bytes.size, bytes.size);
    if (bytes.size < room) return bytes;
    // The file grew while it was read: take the rest into a larger buffer.
    room *= 2;
    auto larger = std::make_unique_for_overwrite<char[]>(room);
    std::memcpy(larger.get(), bytes.data.get(), bytes.size);
    bytes.data = std::move(larger);
  }
}

// A large file is read in two halves at once: copying from the system's cache is as much of
// the time as the disk when the file was read before.
size_t ReadableFile::ReadStart(char* at, size_t count) {
  if (count < kBytesForTwoReads || std::thread::hardware_concurrency() < 2) return ReadInto(at, count, 0);
  const size_t half = count / 2;
  size_t secondRead = 0;
  std::exception_ptr secondError;
  std::thread second;
  try {
    second = std::thread([&] {
      try {
        secondRead = ReadInto(at + half, count - half, half);
      } catch (...) {
        secondError = std::current_exception();
      }
    });
  } catch (const std::system_error&) {  // no thread to be had
    return ReadInto(at, count, 0);
  }
  size_t firstRead = 0;
  try {
    firstRead = ReadInto(at, half, 0);
  } catch (...) {
    second.join();
    throw;
  }
  second.join();
  if (secondError) std::rethrow_exception(secondError);
  return firstRead < half ? firstRead : half + secondRead;
}

size_t ReadableFile::ReadInto(char* at, size_t count, size_t offset) {
  size_t done = 0;
  while (done < count) {
    const ssize_t n = ::pread(fd_, at + done, count - done, off_t(offset + done));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) throw IoError(path_, Prefix() + "cannot be read: " + std::strerror(errno));
    if (n == 0) break;
    done += size_t(n);
  }
  return done;
}

bool ReadableFile::ReadBlock(void* into, size_t count) {
  return ReadInto(static_cast<char*>(into), count, 0) == count;
}

int ReadableFile::Release() {
  const int fd = fd_;
  fd_ = -1;
  return fd;
}

}  // namespace velmora
