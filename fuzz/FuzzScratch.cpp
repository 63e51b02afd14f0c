#include "FuzzScratch.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include <unistd.h>

namespace velmora::fuzz {

namespace {

// Memory-backed when the machine has it: harnesses write a file every run.
std::filesystem::path ScratchRoot() {
  std::error_code ec;
  if (std::filesystem::is_directory("/dev/shm", ec) && access("/dev/shm", W_OK) == 0) return "/dev/shm";
  return std::filesystem::temp_directory_path();
}

struct ScratchFolder {
  ScratchFolder() {
    std::string pattern = (ScratchRoot() / "velmora-fuzz-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot make a scratch folder");
    path = pattern;
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
  }
  std::string path;
};

}  // namespace

const std::string& FuzzScratch::Folder() {
  static const ScratchFolder folder;
  return folder.path;
}

std::string FuzzScratch::Write(const std::string& name, const uint8_t* data, size_t size) {
  const std::string path = Folder() + "/" + name;
  // A new file each time: truncating one that holds data makes the file system write it out
  // first, which costs milliseconds a run.
  std::remove(path.c_str());
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) throw std::runtime_error("cannot write " + path);
  const bool written = size == 0 || std::fwrite(data, 1, size, file) == size;
  if (std::fclose(file) != 0 || !written) throw std::runtime_error("cannot write " + path);
  return path;
}

std::string FuzzScratch::Write(const std::string& name, const std::string& text) {
  return Write(name, reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

}  // namespace velmora::fuzz
