#include "support/NITextBuilder.h"

namespace velmora::testing {

std::string NIText(int rows, const std::function<std::string(int row, int channel)>& volts) {
  std::string text = "Acquisition export\nchannels 1-64\nDate\tTime\tValues\n";
  for (int r = 1; r <= rows; ++r) {
    text += "2024-03-01\t12:00:00.001";  // 10 + 1 + 12 characters
    for (int c = 1; c <= 64; ++c) text += "\t" + volts(r, c);
    text += "\r\n";
  }
  return text;
}

}  // namespace velmora::testing
