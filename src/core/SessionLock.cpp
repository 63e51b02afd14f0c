#include "core/SessionLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace velmora {

namespace {

// A session that ends removes its lock file while it still holds it; one that opened the file
// just before then holds a lock on a file no longer there, and must try again.
bool StillNamed(int fd, const std::string& path) {
  struct stat open {}, named {};
  return ::fstat(fd, &open) == 0 && ::lstat(path.c_str(), &named) == 0 && open.st_dev == named.st_dev &&
         open.st_ino == named.st_ino;
}

}  // namespace

SessionLock::Outcome SessionLock::Take(const std::string& file) {
  Release();
  const std::string path = PathFor(file);
  constexpr int kTries = 8;
  for (int attempt = 0; attempt < kTries; ++attempt) {
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0644);
    if (fd < 0) return Outcome::Unavailable;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
      ::close(fd);
      return Outcome::Unavailable;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
      const int error = errno;
      ::close(fd);
      return error == EWOULDBLOCK ? Outcome::HeldElsewhere : Outcome::Unavailable;
    }
    if (StillNamed(fd, path)) {
      fd_ = fd;
      file_ = file;
      return Outcome::Taken;
    }
    ::close(fd);
  }
  return Outcome::Unavailable;
}

void SessionLock::Release() {
  if (fd_ >= 0) {
    ::unlink(PathFor(file_).c_str());
    ::close(fd_);
  }
  fd_ = -1;
  file_.clear();
}

}  // namespace velmora
