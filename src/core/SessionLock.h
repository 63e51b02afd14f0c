#pragma once

#include <string>

namespace velmora {

// The lock a live session holds on the file it works on, kept in a file beside it
// (`REC.M00` -> `REC.M00.velmora-lock`). The system drops it with the process, however the
// process ends, so a session that finds it held knows that another one is running now and
// that the journal beside the file is that session's, not one left by a crash.
class SessionLock {
 public:
  static constexpr const char* kSuffix = ".velmora-lock";
  enum class Outcome {
    Taken,          // this session holds the file
    HeldElsewhere,  // another live session holds it
    Unavailable,    // no lock can be made beside it (a read-only folder): nobody can write there
  };

  SessionLock() = default;
  ~SessionLock() { Release(); }
  SessionLock(const SessionLock&) = delete;
  SessionLock& operator=(const SessionLock&) = delete;

  static std::string PathFor(const std::string& file) { return file + kSuffix; }

  // Releases what was held and tries to take `file`.
  Outcome Take(const std::string& file);
  // Removes the lock file and lets the lock go.
  void Release();
  bool Held() const { return fd_ >= 0; }
  // The file held, or empty.
  const std::string& File() const { return file_; }

 private:
  std::string file_;
  int fd_ = -1;
};

}  // namespace velmora
