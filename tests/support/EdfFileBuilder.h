#pragma once

#include <functional>
#include <string>

namespace velmora::testing {

// Writes small EDF+ or BDF+ files with EDFlib, the library the workbench does not read them
// with: `signals` signals in microvolts over +-`rangeUv`, signal s (from 1) sampled at
// `rate(s)` Hz in one-second records, sample k of signal s being `value(s, k)`.
struct EdfFileBuilder {
  bool bdf = false;
  int signals = 4;
  int seconds = 2;
  double rangeUv = 10000;
  std::function<int(int)> rate = [](int) { return 100; };
  std::function<double(int, int)> value = [](int s, int k) { return double(100 * s + k % 7); };

  // Throws std::runtime_error when EDFlib refuses.
  void Write(const std::string& path) const;
};

}  // namespace velmora::testing
