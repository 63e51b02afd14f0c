#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

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

  // The bytes of a whole file, in a buffer that is not cleared before the file is read into it.
  struct Bytes {
    std::unique_ptr<char[]> data;
    size_t size = 0;
    std::string_view View() const { return {data.get(), size}; }
  };

  int64_t Size() const { return size_; }
  // When the file was last changed, in ns since 1970, as it was opened.
  int64_t ModifiedNs() const { return modifiedNs_; }
  // Refuses (IoError) a file of more than `mostBytes`, or of more than the memory free to
  // hold it, before a byte is read; `what` names the kind of file ("a mark file").
  void RefuseLargerThan(int64_t mostBytes, const std::string& what) const;
  // The file from its start to the end of its `lines`-th line (all of it when it has fewer
  // lines), read a block at a time so that what lies beyond is never read. A line longer
  // than `mostLineBytes`, or more than the memory free, is refused (IoError).
  std::string ReadLines(int64_t lines, size_t mostLineBytes);
  // The whole file; one larger than the memory free is refused (IoError) before it is read.
  std::string ReadAll();
  // The whole file, read straight into a buffer of its size: for recordings of many megabytes.
  Bytes ReadAllBytes();
  // Reads the first `count` bytes; false when the file holds fewer.
  bool ReadBlock(void* into, size_t count);
  // Hands the descriptor over to the caller, who closes it.
  int Release();

 private:
  std::string Prefix() const;
  static constexpr size_t kBytesForTwoReads = size_t(4) << 20;

  // The first `count` bytes into `at`, in two halves at once for large files; returns the
  // bytes read, fewer when the file ends sooner.
  size_t ReadStart(char* at, size_t count);
  // Reads into [at, at + count) from `offset` until it is full or the file ends; returns the
  // bytes read.
  size_t ReadInto(char* at, size_t count, size_t offset);

  std::string path_;
  std::string what_;
  int fd_ = -1;
  int64_t size_ = 0;
  int64_t modifiedNs_ = 0;
};

}  // namespace velmora
