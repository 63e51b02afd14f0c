#pragma once

#include <functional>
#include <string>

namespace velmora::testing {

// Gives the text of the value of `channel` in sample row `row` (both from 1).
using LabValue = std::function<std::string(int row, int channel)>;

// An Auckland text recording: the ten described header lines (line 1 saying `headerLines`,
// padded with remark lines up to that many), then the numbers broken over lines as `breaks` says.
struct AucklandFile {
  enum class Breaks { RowPerLine, OneLine, NumberPerLine };
  int headerLines = 10;
  std::string channels = "4";
  std::string samples = "3";
  std::string rate = "1000";
  std::string matrix = "C:/MyNewMatrix/NewE48.txt";
  int rows = 3;  // rows actually written
  Breaks breaks = Breaks::RowPerLine;
  LabValue value = [](int row, int channel) { return std::to_string(row * 10 + channel); };

  std::string Text() const;
};

// 3 header lines, then one line per row of `channels` tab-delimited values.
std::string NashvilleText(int channels, int rows, const LabValue& value);
// 3 header lines, then per row a 10-character date, a tab, a 12-character time and the values.
std::string ManchesterText(int channels, int rows, const LabValue& value);

}  // namespace velmora::testing
