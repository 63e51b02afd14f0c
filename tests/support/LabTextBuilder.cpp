#include "support/LabTextBuilder.h"

namespace velmora::testing {

std::string AucklandFile::Text() const {
  std::string text = std::to_string(headerLines) + " header lines\n";
  text += channels + "\tchannels\n" + samples + " samples\n" + rate + " Hz\n0.25 mV per unit\n";
  text += matrix + "\nantrum, fasted, 37 C\n0\n0\n0\n";
  for (int line = 11; line <= headerLines; ++line) text += "remark 1.5 2.5\n";
  const int count = std::stoi(channels);
  for (int r = 1; r <= rows; ++r) {
    for (int c = 1; c <= count; ++c) {
      text += value(r, c);
      if (breaks == Breaks::NumberPerLine) text += "\n";
      if (breaks != Breaks::NumberPerLine) text += (c == count && breaks == Breaks::RowPerLine) ? "\r\n" : " ";
    }
  }
  return text;
}

std::string NashvilleText(int channels, int rows, const LabValue& value) {
  std::string text = "Nashville export\nsubject 12\nch1\tch2\tch3\n";
  for (int r = 1; r <= rows; ++r) {
    for (int c = 1; c <= channels; ++c) text += (c == 1 ? "" : "\t") + value(r, c);
    text += "\n";
  }
  return text;
}

std::string ManchesterText(int channels, int rows, const LabValue& value) {
  std::string text = "Manchester export\nchannels\nDate\tTime\tValues\n";
  for (int r = 1; r <= rows; ++r) {
    text += "2024-03-01\t12:00:00.001";
    for (int c = 1; c <= channels; ++c) text += "\t" + value(r, c);
    text += "\n";
  }
  return text;
}

}  // namespace velmora::testing
