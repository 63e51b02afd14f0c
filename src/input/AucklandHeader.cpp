#include "input/AucklandHeader.h"

#include <cmath>

#include <fmt/format.h>

#include "core/Arithmetic.h"
#include "core/Limits.h"
#include "input/TextLines.h"

namespace velmora {

namespace {

// The number a line begins with, rounded; counts beyond what an int holds are refused here
// so that nothing downstream sees a wrapped value.
int Rounded(TextLines& lines, double value, const std::string& what) {
  if (!(std::fabs(value) < 2147483647.0)) lines.Fail(fmt::format("{} ({}) is out of range", what, value));
  return int(RoundHalfEven(value));
}

int ReadCount(TextLines& lines, const std::string& what) { return Rounded(lines, lines.ReadReal(what), what); }

void NextHeaderLine(TextLines& lines) {
  lines.NextLine(fmt::format("the file ends within the {} header lines", AucklandHeader::kDescribedLines));
}

void Require(TextLines& lines, bool holds, const std::string& problem) {
  if (!holds) lines.Fail(problem);
}

std::string Trimmed(std::string_view text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return std::string(text.substr(first, text.find_last_not_of(" \t") - first + 1));
}

}  // namespace

AucklandHeader AucklandHeader::Read(const std::string& path, std::string_view text) {
  TextLines lines(path, text);
  lines.RefuseBinary();
  AucklandHeader header;
  NextHeaderLine(lines);
  header.headerLines = ReadCount(lines, "the number of header lines");
  Require(lines, header.headerLines >= kDescribedLines,
          fmt::format("the header has {} lines, fewer than the {} it describes", header.headerLines, kDescribedLines));
  NextHeaderLine(lines);
  header.channels = ReadCount(lines, "the number of channels");
  Require(lines, header.channels >= 1 && header.channels <= kChannels,
          fmt::format("{} channels cannot be read; a recording has 1 to {}", header.channels, kChannels));
  NextHeaderLine(lines);
  header.samples = ReadCount(lines, "the number of samples");
  Require(lines, header.samples >= 1, fmt::format("{} samples: the recording holds no samples", header.samples));
  NextHeaderLine(lines);
  header.samplingRateAsWritten = lines.ReadReal("the sampling rate in Hz");
  header.samplingRate = Rounded(lines, header.samplingRateAsWritten, "the sampling rate in Hz");
  Require(lines, header.samplingRate >= 1,
          fmt::format("a sampling rate of {} Hz cannot be used; it must be 1 Hz or more", header.samplingRateAsWritten));
  NextHeaderLine(lines);
  header.calibration = lines.ReadReal("the calibration");
  NextHeaderLine(lines);
  header.matrixFileName = Trimmed(lines.CurrentLine());
  NextHeaderLine(lines);
  header.comments = std::string(lines.CurrentLine());
  for (int line = 8; line <= kDescribedLines; ++line) {
    NextHeaderLine(lines);
    lines.ReadReal(fmt::format("a number on header line {}", line));
  }
  return header;
}

}  // namespace velmora
