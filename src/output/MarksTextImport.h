#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velmora {

struct AnalysisState;

// "Marks from .txt file": a header of at least seven lines (the first says how many), then one
// line per mark: electrode, time in ms, kind and two numbers that are not used.
class MarksTextImport {
 public:
  struct Mark {
    int32_t electrode = 0;
    int32_t time = 0;
    int32_t kind = 0;
  };
  struct Contents {
    std::string matrixFileName;
    int32_t samplingF = 0;
    std::vector<Mark> marks;
  };

  // Reads and checks the whole file before anything is used, so a bad line leaves the store
  // as it was. Throws ConversionError naming the file and the line.
  static Contents Parse(const std::string& path, std::string text);
  // Reads the file at `path` and parses it.
  static Contents Read(const std::string& path);
  // Appends the marks through the store (origin as set for new marks). The recording keeps
  // its matrix, its mark file's header and its sampling frequency whatever the file's header
  // names; returns what to tell the user where they differ, empty when they agree. Throws
  // IoError, adding nothing, when the store has no room for all of them.
  static std::string Apply(AnalysisState& state, const std::string& path, const Contents& contents);
  // The sentence Apply returns.
  static std::string HeaderDifference(const AnalysisState& state, const std::string& path, const Contents& contents);
};

}  // namespace velmora
