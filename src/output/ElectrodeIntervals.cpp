#include "output/ElectrodeIntervals.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include <fmt/format.h>

#include "core/AnalysisState.h"
#include "maps/CellDigits.h"
#include "output/ExportRefused.h"

namespace velmora {

namespace {

constexpr double kSecondsPerMinute = 60.0, kMsPerSecond = 1000.0;

void CheckTimes(const std::vector<int32_t>& times, int electrode) {
  if (times.size() < 2)
    throw ExportRefused(fmt::format("Electrode {} has {} mark(s) after time 0; an interval needs at least 2.",
                                    electrode, times.size()));
  if (times.size() > size_t(ElectrodeIntervals::kMaxTimes))
    throw ExportRefused(fmt::format("Electrode {} has {} marks; at most {} can be written.", electrode,
                                    times.size(), ElectrodeIntervals::kMaxTimes));
  const auto same = std::adjacent_find(times.begin(), times.end());
  if (same != times.end())
    throw ExportRefused(fmt::format("Electrode {} has two marks at {} ms; an interval of 0 ms has no rate.",
                                    electrode, *same));
}

}  // namespace

std::vector<int32_t> ElectrodeIntervals::SortedTimes(const AnalysisState& s, int electrode) {
  std::vector<int32_t> times;
  for (int n = 1; n <= s.MarkCount; ++n) {
    const MarkRecord& mark = s.Mark(n);
    if (mark.Electrode == electrode && mark.Time > 0 && mark.Kind > 0) times.push_back(mark.Time);
  }
  std::sort(times.begin(), times.end());
  return times;
}

std::string ElectrodeIntervals::Text(const AnalysisState& s, int electrode) {
  if (!AcceptsElectrode(electrode))
    throw ExportRefused(fmt::format("Electrode {} cannot be exported; give an electrode from {} to {}.", electrode,
                                    kFirstElectrode, kLastElectrode));
  const std::vector<int32_t> times = SortedTimes(s, electrode);
  CheckTimes(times, electrode);
  std::vector<double> rates;
  std::string text = fmt::format("{}\nEle: {}\n\n{}\n", s.ElgFileName, electrode, times.front());
  for (size_t k = 1; k < times.size(); ++k) {
    const int32_t interval = times[k] - times[k - 1];
    rates.push_back(kSecondsPerMinute / (interval / kMsPerSecond));
    fmt::format_to(std::back_inserter(text), "{}\t{}\t{}\n", times[k], interval,
                   CellDigits::FixedText(rates.back(), 2));
  }
  double sum = 0;
  for (const double rate : rates) sum += rate;
  const double mean = sum / double(rates.size());
  double squares = 0;
  for (const double rate : rates) squares += (rate - mean) * (rate - mean);
  const double deviation = std::sqrt(squares / double(rates.size()));
  fmt::format_to(std::back_inserter(text), "\nAvg:\tStDev\n{}\t{}\n", CellDigits::FixedText(mean, 2),
                 CellDigits::FixedText(deviation, 2));
  return text;
}

}  // namespace velmora
