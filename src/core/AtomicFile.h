#pragma once

#include <string>
#include <string_view>

namespace velmora {

// What the temporary files of a write carry after the name of the file they will replace,
// followed by six random characters.
inline constexpr std::string_view kTemporaryMark = ".velmora-tmp-";

// Writes `bytes` to a temporary file beside `path`, syncs it and renames it over `path`,
// then syncs the folder, so a failed, interrupted or crashed write never leaves a damaged
// file where a good one was. A symbolic link is written through to the file it names.
// Throws IoError.
void WriteFileAtomically(const std::string& path, std::string_view bytes);

// Removes the temporary files that a write of `path` killed part way left beside it.
void RemoveStaleTemporaries(const std::string& path);

// Reads a whole file; throws IoError when it cannot be opened or read.
std::string ReadWholeFile(const std::string& path);

bool FileExists(const std::string& path);

}  // namespace velmora
