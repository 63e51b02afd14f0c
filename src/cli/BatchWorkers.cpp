#include "cli/BatchWorkers.h"

#include <fcntl.h>
#include <malloc.h>
#include <poll.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <map>
#include <new>
#include <optional>
#include <stdexcept>
#include <vector>

#include <fmt/format.h>

#include "core/HugePageAllocator.h"

namespace velmora::cli {

namespace {

// How often the pool looks for a worker that ended without a word, between reports.
constexpr int kReapEveryMs = 100;

// A worker's word to the pool: it took a job, or a job ended with its status. Shorter than
// PIPE_BUF, so the workers' reports on the one pipe never mingle.
struct Report {
  int32_t job = 0, status = 0, pid = 0, started = 0;
};

[[noreturn]] void Fail(const char* what) {
  throw std::runtime_error(fmt::format("the batch cannot {}: {}", what, std::strerror(errno)));
}

void Send(int out, const Report& report) {
  const char* bytes = reinterpret_cast<const char*>(&report);
  while (::write(out, bytes, sizeof report) < 0 && errno == EINTR) {
  }
}

[[noreturn]] void Work(std::atomic<size_t>& next, size_t jobs, int out, const BatchWorkers::RunJob& run) {
  // Freed blocks stay with the process, so the next recording's store is the last one's.
  ::mallopt(M_MMAP_MAX, 0);
  ::mallopt(M_TRIM_THRESHOLD, INT_MAX);
  FreedBlock::KeepFreedBlocks();
  const int quiet = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
  if (quiet >= 0) ::dup2(quiet, STDOUT_FILENO);
  for (;;) {
    const size_t job = next.fetch_add(1);
    if (job >= jobs) break;
    Send(out, {int32_t(job), 0, int32_t(::getpid()), 1});
    const int status = run(job);
    std::cout.flush();
    std::cerr.flush();
    Send(out, {int32_t(job), W_EXITCODE(std::clamp(status, 0, 255), 0), int32_t(::getpid()), 0});
  }
  std::fflush(nullptr);
  ::_exit(0);
}

class Pool {
 public:
  Pool(size_t jobs, int parallel, const BatchWorkers::RunJob& run, const BatchWorkers::JobEnded& ended)
      : jobs_(jobs), parallel_(size_t(std::max(parallel, 1))), run_(run), ended_(ended), done_(jobs, false) {
    void* shared =
        ::mmap(nullptr, sizeof(std::atomic<size_t>), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    if (shared == MAP_FAILED) Fail("share the job counter");
    next_ = new (shared) std::atomic<size_t>(0);
    if (::pipe2(pipe_, O_CLOEXEC) != 0) Fail("open a pipe to its workers");
  }
  ~Pool() {
    ::close(pipe_[0]);
    ::close(pipe_[1]);
    ::munmap(next_, sizeof(std::atomic<size_t>));
  }

  void Run() {
    StartWorkers();
    while (finished_ < jobs_ && !workers_.empty()) {
      pollfd p{pipe_[0], POLLIN, 0};
      const int ready = ::poll(&p, 1, kReapEveryMs);
      if (ready > 0) {
        ReadReport();
        continue;
      }
      if (ready < 0 && errno != EINTR) Fail("wait for its workers");
      Reap();
    }
    // The workers end once no job is left; a job taken by one that ended before it could
    // say so failed.
    for (const auto& [pid, job] : workers_) {
      int status = 0;
      while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
      }
    }
    workers_.clear();
    for (size_t job = 0; job < jobs_; ++job)
      if (!done_[job]) End(job, W_EXITCODE(1, 0));
  }

 private:
  size_t Left() const { return jobs_ - std::min(jobs_, next_->load()); }

  void StartWorkers() {
    while (workers_.size() < parallel_ && workers_.size() < Left()) {
      std::cout.flush();
      std::cerr.flush();
      std::fflush(nullptr);
      const pid_t pid = ::fork();
      if (pid < 0) {
        if (workers_.empty()) Fail("start a worker");
        return;  // those running go on
      }
      if (pid == 0) {
        ::close(pipe_[0]);
        Work(*next_, jobs_, pipe_[1], run_);
      }
      workers_[pid] = std::nullopt;
    }
  }

  void End(size_t job, int status) {
    if (job >= jobs_ || done_[job]) return;
    done_[job] = true;
    ++finished_;
    ended_(job, status);
  }

  void ReadReport() {
    Report r;
    size_t got = 0;
    while (got < sizeof r) {
      const ssize_t n = ::read(pipe_[0], reinterpret_cast<char*>(&r) + got, sizeof r - got);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) Fail("hear from its workers");
      got += size_t(n);
    }
    const auto worker = workers_.find(pid_t(r.pid));
    if (r.started) {
      if (worker != workers_.end()) worker->second = size_t(r.job);
      return;
    }
    if (worker != workers_.end()) worker->second.reset();
    End(size_t(r.job), r.status);
  }

  // Workers that ended: what they said first, then the job one held when it died is failed
  // with the signal that ended it, and new workers take the jobs left.
  void Reap() {
    int status = 0;
    pid_t pid = 0;
    while ((pid = ::waitpid(-1, &status, WNOHANG)) > 0) {
      const auto worker = workers_.find(pid);
      if (worker == workers_.end()) continue;
      pollfd p{pipe_[0], POLLIN, 0};
      while (::poll(&p, 1, 0) > 0) ReadReport();
      if (worker->second) End(*worker->second, WIFEXITED(status) ? W_EXITCODE(1, 0) : status);
      workers_.erase(worker);
    }
    StartWorkers();
  }

  size_t jobs_, parallel_, finished_ = 0;
  const BatchWorkers::RunJob& run_;
  const BatchWorkers::JobEnded& ended_;
  std::vector<bool> done_;
  std::atomic<size_t>* next_ = nullptr;
  int pipe_[2] = {-1, -1};
  std::map<pid_t, std::optional<size_t>> workers_;  // the job each holds
};

}  // namespace

void BatchWorkers::Run(size_t jobs, int parallel, const RunJob& run, const JobEnded& ended) {
  if (jobs == 0) return;
  Pool(jobs, parallel, run, ended).Run();
}

}  // namespace velmora::cli
