#pragma once

#include <functional>
#include <string>

namespace velmora {

// Runs a piece of a format library in a child process of its own, so that a file the library
// trips over (a crash, an endless loop, a call to exit) costs a refused file and not the
// workbench. What the child returns travels back through a pipe; its messages on the
// terminal are dropped.
class LibraryProcess {
 public:
  // Returns what `work` returned in the child. A `work` that throws IoError in the child
  // throws it here; a child that crashes, exits without answering or is still working after
  // `timeoutMs` throws IoError naming `path`.
  static std::string Run(const std::string& path, const std::function<std::string()>& work, int timeoutMs);
};

}  // namespace velmora
