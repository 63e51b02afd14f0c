#pragma once

#include <string>
#include <string_view>

namespace velmora {

// The self-describing header of an Auckland text recording: ten lines, each of lines 1 to 5
// and 8 to 10 beginning with a number (the rest of the line is a remark), lines 6 and 7 taken
// whole. Further header lines, as many as line 1 says, are passed over unread.
struct AucklandHeader {
  static constexpr int kDescribedLines = 10;

  int headerLines = 0;   // lines before the first sample
  int channels = 0;      // numbers per sample row
  int samples = 0;       // sample rows
  int samplingRate = 0;  // Hz
  double samplingRateAsWritten = 0;
  double calibration = 0;  // shown only: the samples are scaled the same whatever it says
  std::string matrixFileName;
  std::string comments;

  // Reads the header of `text` (the contents of `path`). Throws ConversionError naming the
  // line for a missing or unreadable number and for counts no recording can have.
  static AucklandHeader Read(const std::string& path, std::string_view text);
};

}  // namespace velmora
