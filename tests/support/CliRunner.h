#pragma once

#include <string>

namespace velmora::testing {

// The outcome of one run of velmora-cli.
struct CliRun {
  int status = -1;  // exit status, -1 when it did not exit normally
  std::string out;  // what it printed on stdout
  std::string err;  // what it printed on stderr
};

// Runs velmora-cli with `arguments` (already quoted as a shell would need them); stderr goes
// through `errFile`.
CliRun RunCli(const std::string& arguments, const std::string& errFile);

}  // namespace velmora::testing
