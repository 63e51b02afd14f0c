#include "core/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "core/Errors.h"

namespace velmora {

namespace {

std::string SystemError() { return std::strerror(errno); }

void WriteAll(int fd, std::string_view bytes, const std::string& path) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) throw IoError(path, "cannot be written: " + SystemError());
    bytes.remove_prefix(size_t(n));
  }
}

}  // namespace

void WriteFileAtomically(const std::string& path, std::string_view bytes) {
  std::string temp = path + ".XXXXXX";
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) throw IoError(path, "cannot be written: " + SystemError());
  try {
    WriteAll(fd, bytes, path);
    if (::fsync(fd) != 0) throw IoError(path, "cannot be written: " + SystemError());
    // Keep the permissions of the file being replaced, or the usual ones for a new file.
    struct stat old {};
    ::fchmod(fd, ::stat(path.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644);
    if (::close(fd) != 0) throw IoError(path, "cannot be written: " + SystemError());
  } catch (...) {
    ::close(fd);
    ::unlink(temp.c_str());
    throw;
  }
  if (std::rename(temp.c_str(), path.c_str()) != 0) {
    const std::string problem = SystemError();
    ::unlink(temp.c_str());
    throw IoError(path, "cannot be replaced: " + problem);
  }
}

std::string ReadWholeFile(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY);
  if (fd < 0) throw IoError(path, "cannot be opened: " + SystemError());
  std::string bytes;
  // Growing the text chunk by chunk would copy a large recording several times over.
  struct stat info {};
  if (::fstat(fd, &info) == 0 && info.st_size > 0) bytes.reserve(size_t(info.st_size));
  char buffer[1 << 16];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      const std::string problem = SystemError();
      ::close(fd);
      throw IoError(path, "cannot be read: " + problem);
    }
    if (n == 0) break;
    bytes.append(buffer, size_t(n));
  }
  ::close(fd);
  return bytes;
}

bool FileExists(const std::string& path) {
  std::error_code ec;
  return !path.empty() && std::filesystem::is_regular_file(path, ec);
}

}  // namespace velmora
