#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace velmora::fuzz {

// A folder of the fuzzing process's own, for readers that take a path rather than bytes. It
// lives on as long as the process, so files written into it are overwritten, never piled up.
class FuzzScratch {
 public:
  // The process's folder, created on first use and removed when the process ends normally.
  static const std::string& Folder();
  // Writes `size` bytes to Folder()/`name` and returns the path.
  static std::string Write(const std::string& name, const uint8_t* data, size_t size);
  static std::string Write(const std::string& name, const std::string& text);
};

}  // namespace velmora::fuzz
