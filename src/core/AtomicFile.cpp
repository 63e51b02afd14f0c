#include "core/AtomicFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "core/Errors.h"
#include "core/ReadableFile.h"
#include "core/TemporaryFiles.h"
#include "core/WriteTarget.h"

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

// The rename is durable only once the folder that holds the new name is on disk too.
void SyncFolderOf(const std::string& path, const std::string& requested) {
  const std::filesystem::path file(path);
  const std::filesystem::path folder = file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) throw IoError(requested, "was written, but its folder cannot be synced: " + SystemError());
  const bool synced = ::fsync(fd) == 0;
  const std::string problem = synced ? "" : SystemError();
  ::close(fd);
  if (!synced) throw IoError(requested, "was written, but its folder cannot be synced: " + problem);
}

}  // namespace

std::string WrittenPath(const std::string& path) {
  std::error_code ec;
  if (!std::filesystem::is_symlink(path, ec)) return path;
  const std::filesystem::path target = std::filesystem::weakly_canonical(path, ec);
  return ec ? path : target.string();
}

void WriteFileAtomically(const std::string& requested, std::string_view bytes) {
  WriteTarget::RefuseSpecial(requested);
  const std::string path = WrittenPath(requested);
  RemoveStaleTemporaries(path);
  std::string temp = TemporaryNameFor(path);
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) throw IoError(requested, "cannot be written: " + SystemError());
  TemporaryFiles::Entry entry(temp);
  // Held until the file is closed: a sweep for stale temporaries leaves this one alone.
  ::flock(fd, LOCK_EX | LOCK_NB);
  try {
    WriteAll(fd, bytes, requested);
    // Keep the permissions of the file being replaced, or the usual ones for a new file.
    struct stat old {};
    if (::fchmod(fd, ::stat(path.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644) != 0)
      throw IoError(requested, "cannot be given its permissions: " + SystemError());
    if (::fsync(fd) != 0) throw IoError(requested, "cannot be written: " + SystemError());
    if (std::rename(temp.c_str(), path.c_str()) != 0)
      throw IoError(requested, "cannot be replaced: " + SystemError());
  } catch (...) {
    ::unlink(temp.c_str());
    ::close(fd);
    throw;
  }
  entry.Release();
  if (::close(fd) != 0) throw IoError(requested, "cannot be written: " + SystemError());
  SyncFolderOf(path, requested);
}

std::string TemporaryNameFor(const std::string& path) { return path + std::string(kTemporaryMark) + "XXXXXX"; }

void RemoveStaleTemporaries(const std::string& path) {
  const std::filesystem::path target(WrittenPath(path));
  const std::string prefix = target.filename().string() + std::string(kTemporaryMark);
  std::error_code ec;
  const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : ".";
  for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
    const std::string name = entry.path().filename().string();
    if (name.size() != prefix.size() + 6 || name.rfind(prefix, 0) != 0 || !entry.is_regular_file(ec)) continue;
    // A writer holds a lock on its temporary while it writes; one nobody holds was left by
    // a writer that died.
    const int fd = ::open(entry.path().c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) continue;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) ::unlink(entry.path().c_str());
    ::close(fd);
  }
}

std::string ReadWholeFile(const std::string& path) { return ReadableFile(path).ReadAll(); }

std::string ReadWholeFile(const std::string& path, int64_t mostBytes, const std::string& what) {
  ReadableFile file(path);
  file.RefuseLargerThan(mostBytes, what);
  return file.ReadAll();
}

bool FileExists(const std::string& path) {
  std::error_code ec;
  return !path.empty() && std::filesystem::is_regular_file(path, ec);
}

bool AnythingAt(const std::string& path) {
  struct stat info {};
  return !path.empty() && ::lstat(path.c_str(), &info) == 0;
}

}  // namespace velmora
