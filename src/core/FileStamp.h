#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace velmora {

// What a file was when it was read or written: enough to tell later whether someone else
// (another session, another program) has changed it since.
struct FileStamp {
  bool exists = false;
  int64_t size = 0;
  int64_t modifiedNs = 0;
  uint64_t hash = 0;

  // The stamp of `bytes`, read from a file last changed at `modifiedNs`.
  static FileStamp Of(std::string_view bytes, int64_t modifiedNs);
  // The file at `path` as it is now, read to hash it (a time can stay the same across two
  // quick writes). Throws IoError when it is there but cannot be read.
  static FileStamp Now(const std::string& path);
  static uint64_t Hash(std::string_view bytes);

  // The same bytes, whenever they were written.
  bool SameContent(const FileStamp& other) const {
    return exists == other.exists && (!exists || (size == other.size && hash == other.hash));
  }
};

}  // namespace velmora
