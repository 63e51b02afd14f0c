#include "input/LibraryProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

#include <fmt/format.h>

#include "core/Errors.h"

namespace velmora {

namespace {

constexpr char kAnswer = 'A', kRefusal = 'R';

void WriteAll(int fd, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    done += size_t(n);
  }
}

[[noreturn]] void RunChild(int out, const std::function<std::string()>& work) {
  const int quiet = ::open("/dev/null", O_WRONLY);
  if (quiet >= 0) {
    ::dup2(quiet, STDOUT_FILENO);
    ::dup2(quiet, STDERR_FILENO);
  }
  std::string answer;
  try {
    answer = kAnswer + work();
  } catch (const IoError& error) {
    answer = kRefusal + error.Problem();
  } catch (const std::exception& error) {
    answer = kRefusal + std::string(error.what());
  }
  WriteAll(out, answer);
  ::close(out);
  ::_exit(0);
}

// Reads the child's answer until it closes the pipe; false when the time ran out first.
bool ReadAnswer(int in, std::string& answer, int timeoutMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  char buffer[65536];
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return false;
    pollfd waiting{in, POLLIN, 0};
    const int ready = ::poll(&waiting, 1, int(left.count()));
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) return false;
    const ssize_t n = ::read(in, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return true;
    answer.append(buffer, size_t(n));
  }
}

int WaitFor(pid_t child) {
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  return status;
}

}  // namespace

std::string LibraryProcess::Run(const std::string& path, const std::function<std::string()>& work, int timeoutMs) {
  int pipeEnds[2];
  if (::pipe2(pipeEnds, O_CLOEXEC) != 0)
    throw IoError(path, fmt::format("no pipe to read the file through: {}", std::strerror(errno)));
  const pid_t child = ::fork();
  if (child < 0) {
    ::close(pipeEnds[0]);
    ::close(pipeEnds[1]);
    throw IoError(path, fmt::format("no process to read the file in: {}", std::strerror(errno)));
  }
  if (child == 0) {
    ::close(pipeEnds[0]);
    RunChild(pipeEnds[1], work);
  }
  ::close(pipeEnds[1]);
  std::string answer;
  const bool finished = ReadAnswer(pipeEnds[0], answer, timeoutMs);
  ::close(pipeEnds[0]);
  if (!finished) ::kill(child, SIGKILL);
  const int status = WaitFor(child);
  if (!finished)
    throw IoError(path, fmt::format("the format library was still reading its header after {} s; the file is "
                                    "taken as damaged",
                                    timeoutMs / 1000.0));
  if (WIFSIGNALED(status))
    throw IoError(path, fmt::format("the format library failed on the file (signal {}); the file is damaged",
                                    WTERMSIG(status)));
  if (answer.empty()) throw IoError(path, "the format library ended without reading the file; the file is damaged");
  if (answer[0] == kRefusal) throw IoError(path, answer.substr(1));
  return answer.substr(1);
}

}  // namespace velmora
