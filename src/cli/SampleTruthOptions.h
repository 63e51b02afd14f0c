#pragma once

#include <string>

#include <CLI/CLI.hpp>

#include "input/SampleRecording.h"

namespace velmora::cli {

// The options of `sample` that shape the truth a generated recording carries: the kind of
// front, the propagation pattern of the waves, the timing noise and the dead electrodes.
class SampleTruthOptions {
 public:
  static void Add(CLI::App* cmd, std::string& front, SampleSettings& settings);
  // "planar" or "radial"; nothing given keeps the planar front. Throws UsageError otherwise.
  static void ParseFront(const std::string& front, SampleSettings& settings);
  static void AddPattern(CLI::App* cmd, std::string& pattern);
  // A pattern name of SamplePatterns; nothing given keeps the plain front. Throws UsageError.
  static void ParsePattern(const std::string& pattern, SampleSettings& settings);
};

}  // namespace velmora::cli
