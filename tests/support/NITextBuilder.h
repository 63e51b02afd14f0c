#pragma once

#include <functional>
#include <string>

namespace velmora::testing {

// The text of an NI recording: 3 header lines, then `rows` lines of a 10-character date, a
// tab, a 12-character time and 64 values in volts; `volts(row, channel)` gives each value
// (row and channel from 1) as it is to appear in the file.
std::string NIText(int rows, const std::function<std::string(int row, int channel)>& volts);

}  // namespace velmora::testing
