#include "commands/StatusTime.h"

#include <fmt/format.h>

namespace velmora {

std::string StatusTime::Text(int64_t milliseconds) {
  const uint64_t magnitude = milliseconds < 0 ? uint64_t(0) - uint64_t(milliseconds) : uint64_t(milliseconds);
  if (magnitude < uint64_t(kMinutesFromMs)) return fmt::format("{} ms", milliseconds);
  return fmt::format("{}{}:{:02}.{:03}", milliseconds < 0 ? "-" : "", magnitude / 60000, magnitude / 1000 % 60,
                     magnitude % 1000);
}

}  // namespace velmora
