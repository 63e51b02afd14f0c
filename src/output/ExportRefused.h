#pragma once

#include <stdexcept>
#include <string>

namespace velmora {

// An export that the state as it is cannot give (nothing drawn to copy, an empty window);
// the message tells the user what is missing. Nothing has been written.
class ExportRefused : public std::runtime_error {
 public:
  explicit ExportRefused(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace velmora
