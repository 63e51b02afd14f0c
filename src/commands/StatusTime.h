#pragma once

#include <cstdint>
#include <string>

namespace velmora {

// A time of the status bar. Milliseconds read well up to five digits; from 100 seconds on a
// long recording's times become seven-digit numbers, so they are shown as minutes, seconds and
// milliseconds instead ("12:34.567"). Every time of a recording of 99.999 s or less keeps the
// millisecond form.
class StatusTime {
 public:
  static constexpr int64_t kMinutesFromMs = 100000;

  // "65535 ms" below kMinutesFromMs (either sign), "m:ss.mmm" from it on.
  static std::string Text(int64_t milliseconds);
};

}  // namespace velmora
