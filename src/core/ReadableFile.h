#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace velmora {

// A file opened for reading that is known to be a regular file. A named pipe would block the
// open until some writer came along, and a device such as /dev/zero never ends, so both are
// refused before a byte is read. Failures throw IoError naming the file and the reason.
class ReadableFile {
 public:
  // `what` starts the messages ("the recording" gives "the recording cannot be opened: ...").
  explicit ReadableFile(const std::string& path, const std::string& what = "");
  ~ReadableFile();
  ReadableFile(const ReadableFile&) = delete;
  ReadableFile& operator=(const ReadableFile&) = delete;

  int64_t Size() const { return size_; }
  std::string ReadAll();
  // Reads the first `count` bytes; false when the file holds fewer.
  bool ReadBlock(void* into, size_t count);
  // Hands the descriptor over to the caller, who closes it.
  int Release();

 private:
  std::string Prefix() const;

  std::string path_;
  std::string what_;
  int fd_ = -1;
  int64_t size_ = 0;
};

}  // namespace velmora
