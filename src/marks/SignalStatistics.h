#pragma once

#include <cstdint>
#include <string>

namespace velmora {

struct AnalysisState;
class Ui;

// Statistics of one channel that the automatic marking and the analyse display share.
class SignalStatistics {
 public:
  // Sets SignalStdev for `channel` over the first CurWindow samples (the mean sums samples
  // 5..W and divides by W) and logs it. A window of one sample or less gives 0.
  static double ChannelStdev(AnalysisState& state, Ui& ui, int32_t channel);
  // The memo line that reports a channel's deviation.
  static std::string DeviationLine(int32_t channel, double deviation);
  // The value of `sample` (1-based) on `channel`, or 0 outside the signal store.
  static int32_t SampleOrZero(const AnalysisState& state, int64_t sample, int32_t channel);
};

}  // namespace velmora
