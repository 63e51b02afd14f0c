#pragma once

#include <string>
#include <utility>
#include <vector>

namespace velmora {

// The analysis settings that produced the marks of a recording, kept beside its mark file:
// those in force at the last automatic marking and at the last amplitude computation. Each
// is a list of (key, value) in the order written; an empty list means no such run is known.
struct MarkSettings {
  using Entries = std::vector<std::pair<std::string, std::string>>;
  Entries marking, amplitudes;

  bool Empty() const { return marking.empty() && amplitudes.empty(); }
  bool operator==(const MarkSettings&) const = default;
};

}  // namespace velmora
