#pragma once

#include <cstddef>
#include <functional>

namespace velmora::cli {

// Runs numbered jobs in worker processes forked from this one, `parallel` at a time, each
// worker taking the next job as it ends one. A worker keeps its memory from job to job: a
// recording's sample store is then the one the previous recording left, not a fresh one the
// system must hand over page by page, zeroed, which on a busy machine costs about as much as
// the analysis and does not get faster with more cores. A job that ends its worker (a signal)
// is that job's failure alone: a new worker takes the jobs left.
class BatchWorkers {
 public:
  // In a worker: runs job `job`, returning its exit status (0 done).
  using RunJob = std::function<int(size_t job)>;
  // In this process, as each job ends: its wait status (exit status or signal, <sys/wait.h>).
  using JobEnded = std::function<void(size_t job, int waitStatus)>;

  // Returns once every job has ended. Throws std::runtime_error when no worker can be started.
  static void Run(size_t jobs, int parallel, const RunJob& run, const JobEnded& ended);
};

}  // namespace velmora::cli
