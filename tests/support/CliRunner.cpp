#include "support/CliRunner.h"

#include <sys/wait.h>

#include <array>
#include <cstdio>

#include "support/TempDir.h"

namespace velmora::testing {

CliRun RunCli(const std::string& arguments, const std::string& errFile, const std::string& shellFirst) {
  const std::string command = shellFirst + std::string(VELMORA_CLI_PATH) + " " + arguments + " 2>" + errFile;
  CliRun run;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return run;
  std::array<char, 4096> buffer;
  size_t n;
  while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) run.out.append(buffer.data(), n);
  const int status = ::pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.err = ReadFile(errFile);
  return run;
}

}  // namespace velmora::testing
