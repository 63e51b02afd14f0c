#include "core/FileStamp.h"

#include <sys/stat.h>

#include "core/ReadableFile.h"

namespace velmora {

uint64_t FileStamp::Hash(std::string_view bytes) {
  // FNV-1a: enough to tell a file changed by someone else, not meant against forgery.
  uint64_t hash = 0xcbf29ce484222325ULL;
  for (const char c : bytes) hash = (hash ^ uint8_t(c)) * 0x100000001b3ULL;
  return hash;
}

FileStamp FileStamp::Of(std::string_view bytes, int64_t modifiedNs) {
  return FileStamp{true, int64_t(bytes.size()), modifiedNs, Hash(bytes)};
}

FileStamp FileStamp::Now(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return {};
  ReadableFile file(path);
  const std::string bytes = file.ReadAll();
  return Of(bytes, file.ModifiedNs());
}

}  // namespace velmora
