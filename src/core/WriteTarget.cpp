#include "core/WriteTarget.h"

#include <sys/stat.h>

#include <cerrno>
#include <filesystem>

#include "core/EchoedText.h"
#include "core/Errors.h"

namespace velmora {

std::string WriteTarget::KindOf(unsigned mode) {
  if (S_ISDIR(mode)) return "a folder";
  if (S_ISFIFO(mode)) return "a named pipe";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
  if (S_ISSOCK(mode)) return "a socket";
  return "not a plain file";
}

void WriteTarget::RefuseSpecial(const std::string& path) {
  struct stat target {};
  if (::stat(path.c_str(), &target) != 0) {
    // Nothing there (or a dangling link): the write makes the file. A link loop or an
    // unreadable folder is said by the write itself.
    return;
  }
  if (!S_ISREG(target.st_mode))
    throw IoError(path, "is " + KindOf(target.st_mode) + ", not a file, and is not replaced");
}

bool WriteTarget::SameFile(const std::string& a, const std::string& b) {
  if (a.empty() || b.empty()) return false;
  struct stat first {}, second {};
  if (::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0)
    return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
  // One of them is not there yet: the names, with links and dots resolved, tell.
  std::error_code ec, other;
  const auto canonicalA = std::filesystem::weakly_canonical(std::filesystem::absolute(a, ec), ec);
  const auto canonicalB = std::filesystem::weakly_canonical(std::filesystem::absolute(b, other), other);
  return !ec && !other && canonicalA == canonicalB;
}

void WriteTarget::RefuseGuarded(const std::string& path, const std::vector<GuardedFile>& guarded) {
  for (const GuardedFile& file : guarded)
    if (SameFile(path, file.path))
      throw IoError(path, "is " + file.what + " (" + EchoedText::Name(file.path) +
                              ") and is not replaced by this file");
}

}  // namespace velmora
