#include "output/AmplitudeTable.h"

#include <algorithm>
#include <cmath>

#include <fmt/format.h>

#include "core/AnalysisState.h"
#include "core/SignalUnits.h"
#include "output/DataPadGrid.h"

namespace velmora {

namespace {

const char* const kTitles[] = {"signalnr", "Ampl", "MaxAmpl", "MinAmpl", "time"};

}  // namespace

std::string AmplitudeTable::MillivoltText(double millivolts) {
  const std::string digits = fmt::format("{:.2f}", std::fabs(millivolts));
  const size_t whole = digits.size() - 3;  // digits before the point
  std::string text = millivolts < 0 && digits.find_first_not_of("0.") != std::string::npos ? "-" : "";
  for (size_t k = 0; k < whole; ++k) {
    if (k > 0 && (whole - k) % 3 == 0) text += ',';
    text += digits[k];
  }
  return text + digits.substr(whole);
}

void AmplitudeTable::Write(const AnalysisState& s, DataPadGrid& grid) {
  grid.ClearColumns(1, 5);
  for (int column = 1; column <= 5; ++column) grid.SetCell(column, 0, kTitles[column - 1]);
  int row = 0;
  const int marks = std::min<int>(s.MarkCount, int(s.MarkAmplitudes.size()));
  for (int n = 1; n <= marks; ++n) {
    const MarkRecord& mark = s.Mark(n);
    const AmplitudeRecord& record = s.MarkAmplitudes[size_t(n - 1)];
    if (mark.Kind != kSlowWave || record.Electrode == kNoValue) continue;
    ++row;
    grid.SetCell(1, row, fmt::format("{}", mark.Electrode));
    grid.SetCell(2, row, MillivoltText(double(record.MaxValue - record.MinValue) / UnitsPerMv(s)));
    grid.SetCell(3, row, fmt::format("{}", record.MaxValue));
    grid.SetCell(4, row, fmt::format("{}", record.MinValue));
    grid.SetCell(5, row, fmt::format("{}", mark.Time));
  }
}

}  // namespace velmora
