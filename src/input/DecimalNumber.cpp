#include "input/DecimalNumber.h"

namespace velmora {

std::optional<DecimalNumber::Plain> DecimalNumber::ParsePrefix(std::string_view text) {
  const char* const begin = text.data();
  double value = 0;
  const char* const stop = Parse(begin, begin + text.size(), value);
  if (stop == nullptr) return std::nullopt;
  return Plain{value, size_t(stop - begin)};
}

}  // namespace velmora
