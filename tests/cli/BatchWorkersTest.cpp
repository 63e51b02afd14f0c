#include "cli/BatchWorkers.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <csignal>
#include <map>
#include <vector>

namespace velmora::cli {
namespace {

// Every job ends once, with its own status, whatever the others do: one that ends its worker
// fails alone and the jobs after it are still run, at any number of workers.
TEST(BatchWorkersTest, EveryJobEndsOnceWithItsOwnStatus) {
  // What each job does in its worker: an exit status, or -1 to be killed.
  const std::vector<int> jobs = {0, 3, -1, 0, -1, 1, 0};
  for (const int parallel : {1, 2, 3, 8}) {
    std::map<size_t, std::vector<int>> ended;
    BatchWorkers::Run(
        jobs.size(), parallel,
        [&](size_t job) {
          if (jobs[job] < 0) std::raise(SIGKILL);
          return jobs[job];
        },
        [&](size_t job, int status) { ended[job].push_back(status); });
    ASSERT_EQ(ended.size(), jobs.size()) << parallel;
    for (size_t job = 0; job < jobs.size(); ++job) {
      ASSERT_EQ(ended[job].size(), 1u) << job;
      const int status = ended[job][0];
      if (jobs[job] < 0) {
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << parallel << " job " << job;
      } else {
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == jobs[job]) << parallel << " job " << job;
      }
    }
  }
}

}  // namespace
}  // namespace velmora::cli
