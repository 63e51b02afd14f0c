#pragma once

#include <climits>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>

namespace velmora::cli {

// A command line a verb cannot take: an option value that is ill-formed or out of range, or
// options that exclude each other. The tool prints the message and the verb's usage and
// exits with status 2; any other error exits with 1.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Option values of the verbs, checked by the verbs themselves so that a bad value is a
// message naming the option. Each throws UsageError.

// The latest time in ms an option may name. The recording loaded decides what a window shows;
// this only keeps a begin plus a window within the times the workbench counts in.
inline constexpr int kLatestTimeMs = INT32_MAX / 2;

// A whole number from `minimum` to `maximum`.
int ParseInt(const std::string& option, const std::string& text, int minimum, int maximum);
// As ParseInt; nothing when the option was not given (empty text).
std::optional<int> ParseOptionalInt(const std::string& option, const std::string& text, int minimum, int maximum);
// A map kind by name: time 0, count 1, electrode 2, interval 3, amplitude 4, slope 5,
// velocity 6, frequency 8.
uint8_t ParseMapKind(const std::string& text);
// "1000x700": a pane 1000 pixels wide and 700 high, each side 1..10000.
std::pair<int, int> ParseSize(const std::string& text, const std::string& example);

}  // namespace velmora::cli
