#pragma once

#include <CLI/CLI.hpp>

#include "input/SampleRecording.h"

namespace velmora::cli {

// The options of `sample` that spoil the generated signal as real recordings are spoilt:
// noise, mains hum, baseline drift and motion artifacts. They act on the signal itself, so
// every format written carries them.
class SampleImpairmentOptions {
 public:
  static void Add(CLI::App* cmd, SignalImpairments& impairments);
};

}  // namespace velmora::cli
