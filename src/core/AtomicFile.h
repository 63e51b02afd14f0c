#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace velmora {

// What the temporary files of a write carry after the name of the file they will replace,
// followed by six random characters.
inline constexpr std::string_view kTemporaryMark = ".velmora-tmp-";

// Writes `bytes` to a temporary file beside `path`, syncs it and renames it over `path`,
// then syncs the folder, so a failed, interrupted or crashed write never leaves a damaged
// file where a good one was, and a failed or interrupted one no temporary. A symbolic link
// is written through to the file it names; a target that is not a file (a folder, a named
// pipe, a device) is refused. Throws IoError.
void WriteFileAtomically(const std::string& path, std::string_view bytes);

// The file a write of `path` replaces: the file a link there names (the link stays a link),
// else `path` itself.
std::string WrittenPath(const std::string& path);

// The mkstemp pattern of a temporary for `path`.
std::string TemporaryNameFor(const std::string& path);

// Removes the temporary files that a write of `path` killed part way left beside it; those
// of writes still running, in this program or another, stay.
void RemoveStaleTemporaries(const std::string& path);

// Reads a whole file; throws IoError when it cannot be opened or read.
std::string ReadWholeFile(const std::string& path);
// The same for a file that holds at most `mostBytes` when it is good: a larger one is refused
// before a byte is read, naming its size and `what` ("a mark file") with its limit.
std::string ReadWholeFile(const std::string& path, int64_t mostBytes, const std::string& what);

// True for a regular file (or a link to one).
bool FileExists(const std::string& path);
// True when anything at all is at `path`: a file, a folder, a pipe, a device, a link that
// leads nowhere or in a loop.
bool AnythingAt(const std::string& path);

}  // namespace velmora
