#include "marks/SignalStatistics.h"

#include <algorithm>
#include <cmath>

#include <fmt/format.h>

#include "core/AnalysisState.h"
#include "core/SignalStore.h"
#include "core/Ui.h"

namespace velmora {

int32_t SignalStatistics::SampleOrZero(const AnalysisState& s, int64_t sample, int32_t channel) {
  if (sample < 1 || sample > s.SignalRows() || channel < 1 || channel > kChannels) return 0;
  return s.Signal(int(sample - 1), channel - 1);
}

std::string SignalStatistics::DeviationLine(int32_t channel, double deviation) {
  return fmt::format("elesub={} Stdev= {:.2f}", channel, deviation);
}

double SignalStatistics::ChannelStdev(AnalysisState& s, Ui& ui, int32_t channel) {
  const int64_t window = s.CurWindow;
  double deviation = 0.0;
  if (window > 1) {
    const int64_t last = std::min<int64_t>(window, SignalStore::ZeroPaddedRows(s));
    double sum = 0;
    for (int64_t sample = 5; sample <= last; ++sample) sum += SampleOrZero(s, sample, channel);
    const double mean = sum / double(window);
    double squares = 0;
    for (int64_t sample = 1; sample <= last; ++sample) {
      const double d = SampleOrZero(s, sample, channel) - mean;
      squares += d * d;
    }
    deviation = std::sqrt(squares / double(window - 1));
  }
  s.SignalStdev = deviation;
  ui.Log(DeviationLine(channel, deviation));
  return deviation;
}

}  // namespace velmora
