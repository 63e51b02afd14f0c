#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velmora {

struct AnalysisState;

// "All Marks in One Electrogram": the marks of one electrode in time order with the interval
// to the one before and the rate it gives, their mean and standard deviation.
class ElectrodeIntervals {
 public:
  static constexpr int kFirstElectrode = 17, kLastElectrode = 255;
  static constexpr int kMaxTimes = 100;

  // Whether `electrode` may be exported (17..255); the panel keeps asking otherwise.
  static bool AcceptsElectrode(int electrode) { return electrode >= kFirstElectrode && electrode <= kLastElectrode; }
  // The times (> 0) of every mark of `electrode` of a kind > 0, ascending.
  static std::vector<int32_t> SortedTimes(const AnalysisState& state, int electrode);
  // The file's bytes. Throws ExportRefused for an electrode outside 17..255, for fewer than 2
  // marks or more than kMaxTimes, and for two marks at one time: none of them has a rate.
  static std::string Text(const AnalysisState& state, int electrode);
};

}  // namespace velmora
