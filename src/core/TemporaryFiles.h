#pragma once

#include <string>

namespace velmora {

// The temporary files being written at this moment, so that a program stopped by Ctrl+C,
// `kill` or a closed terminal removes them on its way out instead of leaving them beside
// the files they were to replace (a film's can be many megabytes). A writer also holds a
// lock on its temporary while it writes, which tells RemoveStaleTemporaries a live write
// from one that a crash or SIGKILL left behind.
class TemporaryFiles {
 public:
  // At most this many temporaries are followed at once; a write beyond them is only
  // cleaned up by its writer and by the stale-temporary sweep.
  static constexpr int kSlots = 32;

  // Follows one temporary for as long as it lives.
  class Entry {
   public:
    explicit Entry(const std::string& path);
    ~Entry();
    Entry(const Entry&) = delete;
    Entry& operator=(const Entry&) = delete;
    // The file was renamed into place or removed: nothing is left to remove.
    void Release();

   private:
    int slot_ = -1;
  };

  // SIGINT, SIGTERM and SIGHUP remove every temporary followed, then end the program as the
  // signal would have. A signal the program was started to ignore stays ignored.
  static void RemoveOnSignals();
  // What the handler does, without ending the program.
  static void RemoveAllNow();
};

}  // namespace velmora
