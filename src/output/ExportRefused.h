#pragma once

#include <stdexcept>

namespace velmora {

// An export that cannot be written from the data at hand; the message says why. Nothing has
// been written when it is thrown.
class ExportRefused : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace velmora
