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
// through `errFile`. `shellFirst` runs in the same shell before it ("ulimit -f 0; ").
CliRun RunCli(const std::string& arguments, const std::string& errFile, const std::string& shellFirst = "");

}  // namespace velmora::testing

// Pictures, pages and films are drawn with the workbench's Qt canvas; a build without Qt
// (the sanitizer build) has a velmora-cli that cannot make them.
#ifdef VELMORA_CLI_PICTURES
#define SKIP_WITHOUT_PICTURES() static_cast<void>(0)
#else
#define SKIP_WITHOUT_PICTURES() GTEST_SKIP() << "velmora-cli was built without Qt: no pictures"
#endif
