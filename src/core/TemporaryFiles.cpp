#include "core/TemporaryFiles.h"

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <unistd.h>

#include <atomic>

namespace velmora {

namespace {

enum SlotState : int { kFree = 0, kFilling = 1, kReady = 2 };

// Only what a signal handler may touch: lock-free atomics and fixed buffers.
struct Slot {
  std::atomic<int> state{kFree};
  char path[PATH_MAX];
};

Slot slots[TemporaryFiles::kSlots];
static_assert(std::atomic<int>::is_always_lock_free);

void RemoveAll() {
  for (Slot& slot : slots)
    if (slot.state.load() == kReady) ::unlink(slot.path);
}

extern "C" void RemoveAndEnd(int signal) {
  const int saved = errno;
  RemoveAll();
  errno = saved;
  ::signal(signal, SIG_DFL);
  ::raise(signal);
}

}  // namespace

TemporaryFiles::Entry::Entry(const std::string& path) {
  if (path.size() >= PATH_MAX) return;
  for (int n = 0; n < kSlots; ++n) {
    int expected = kFree;
    if (!slots[n].state.compare_exchange_strong(expected, kFilling)) continue;
    std::memcpy(slots[n].path, path.c_str(), path.size() + 1);
    slots[n].state.store(kReady);
    slot_ = n;
    return;
  }
}

TemporaryFiles::Entry::~Entry() { Release(); }

void TemporaryFiles::Entry::Release() {
  if (slot_ >= 0) slots[slot_].state.store(kFree);
  slot_ = -1;
}

void TemporaryFiles::RemoveOnSignals() {
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
    struct sigaction current {};
    if (::sigaction(signal, nullptr, &current) != 0 || current.sa_handler == SIG_IGN) continue;
    struct sigaction handler {};
    handler.sa_handler = RemoveAndEnd;
    sigemptyset(&handler.sa_mask);
    ::sigaction(signal, &handler, nullptr);
  }
}

void TemporaryFiles::RemoveAllNow() { RemoveAll(); }

}  // namespace velmora
