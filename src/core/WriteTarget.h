#pragma once

#include <string>
#include <vector>

namespace velmora {

// A file that writers other than its own must leave alone, and what it is to the user
// ("the open recording"), for the message that refuses it.
struct GuardedFile {
  std::string path;
  std::string what;
};

// What every writer checks before it replaces `path`.
class WriteTarget {
 public:
  // Refuses (IoError) a target that exists and, links followed, is not a regular file: a
  // folder, a named pipe, a device or a socket would be replaced by a plain file, and, for
  // the superuser, a system device lost. A missing target and a link to a file are fine;
  // so is a dangling link, which the write makes into a file where it points.
  static void RefuseSpecial(const std::string& path);
  // Refuses (IoError) a target that is one of `guarded`: the same file by device and inode
  // (through links, "..", "./" and hard links), or the same name once resolved for a file
  // that does not exist yet.
  static void RefuseGuarded(const std::string& path, const std::vector<GuardedFile>& guarded);
  // Whether `a` and `b` name the same file, as RefuseGuarded tells.
  static bool SameFile(const std::string& a, const std::string& b);
  // "a folder", "a named pipe", "a device", "a socket": what a file of this mode (stat's
  // st_mode) that is not a regular file is to the user.
  static std::string KindOf(unsigned mode);
};

}  // namespace velmora
