#include "cli/VelocityMethodOption.h"

#include <array>
#include <string_view>

#include <fmt/format.h>

#include "cli/OptionParsing.h"

namespace velmora::cli {

namespace {

// In the order of their numbers.
constexpr std::array<std::string_view, 3> kMethods = {"squares", "smoothed", "fit"};

}  // namespace

void VelocityMethodOption::AddOption(CLI::App* cmd, std::string& method) {
  cmd->add_option("--velocity-method", method, "how velocities are estimated (default squares)")
      ->type_name("squares|smoothed|fit");
}

void VelocityMethodOption::Apply(const std::string& method, PreferenceTexts& texts) {
  if (method.empty()) return;
  for (size_t n = 0; n < kMethods.size(); ++n) {
    if (kMethods[n] != method) continue;
    texts["VelocityMethod"] = std::to_string(n);
    return;
  }
  throw UsageError(fmt::format("--velocity-method takes squares, smoothed or fit (not \"{}\")", method));
}

}  // namespace velmora::cli
