#pragma once

#include <string>
#include <string_view>

namespace velmora {

// Writes `bytes` to a temporary file beside `path` and renames it over `path`, so a failed
// or interrupted write never leaves a damaged file where a good one was. Throws IoError.
void WriteFileAtomically(const std::string& path, std::string_view bytes);

// Reads a whole file; throws IoError when it cannot be opened or read.
std::string ReadWholeFile(const std::string& path);

bool FileExists(const std::string& path);

}  // namespace velmora
