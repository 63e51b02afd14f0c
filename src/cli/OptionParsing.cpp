#include "cli/OptionParsing.h"

#include <map>

#include <fmt/format.h>

#include "core/MapCell.h"

namespace velmora::cli {

int ParseInt(const std::string& option, const std::string& text, int minimum, int maximum) {
  size_t end = 0;
  long long value = 0;
  try {
    value = std::stoll(text, &end);
  } catch (const std::logic_error&) {
    end = 0;
  }
  if (end == 0 || end != text.size() || value < minimum || value > maximum)
    throw UsageError(
        fmt::format("{} takes a whole number from {} to {} (not \"{}\")", option, minimum, maximum, text));
  return int(value);
}

std::optional<int> ParseOptionalInt(const std::string& option, const std::string& text, int minimum, int maximum) {
  if (text.empty()) return std::nullopt;
  return ParseInt(option, text, minimum, maximum);
}

uint8_t ParseMapKind(const std::string& text) {
  static const std::map<std::string, uint8_t> kinds = {{"time", 0},     {"count", 1},     {"electrode", 2},
                                                       {"interval", 3}, {"amplitude", 4}, {"slope", 5},
                                                       {"velocity", 6}, {"quality", kQualityMap},
                                                       {"frequency", kFrequencyMapKind}};
  const auto found = kinds.find(text);
  if (found == kinds.end())
    throw UsageError(fmt::format("--kind takes time, count, electrode, interval, amplitude, slope, velocity, "
                                 "quality or frequency (not \"{}\")",
                                 text));
  return found->second;
}

std::pair<int, int> ParseSize(const std::string& text, const std::string& example) {
  constexpr int kLargest = 10000;
  const size_t x = text.find_first_of("xX");
  try {
    if (x == std::string::npos) throw UsageError(text);
    return {ParseInt("--size", text.substr(0, x), 1, kLargest), ParseInt("--size", text.substr(x + 1), 1, kLargest)};
  } catch (const UsageError&) {
    throw UsageError(fmt::format(
        "--size takes WIDTHxHEIGHT in pixels, each from 1 to {}, for example {} (not \"{}\")", kLargest, example, text));
  }
}

}  // namespace velmora::cli
