#include "LongBenchRecording.h"

#include <algorithm>

#include "ElectrogramBenchRecording.h"

namespace velmora::bench {

LongBenchRecording& LongBenchRecording::Get() {
  static LongBenchRecording recording;
  return recording;
}

LongBenchRecording::LongBenchRecording() : state_(std::make_unique<AnalysisState>()) {
  const AnalysisState& shortOne = ElectrogramBenchRecording::Get().State();
  AnalysisState& s = *state_;
  s.SamplingF = shortOne.SamplingF;
  s.ChannelValid = shortOne.ChannelValid;
  s.Signals.resize(size_t(kRows) * kChannels);
  const size_t shortValues = size_t(shortOne.SigLength) * kChannels;
  for (size_t done = 0; done < s.Signals.size(); done += shortValues) {
    const size_t count = std::min(shortValues, s.Signals.size() - done);
    std::copy_n(shortOne.Signals.begin(), count, s.Signals.begin() + ptrdiff_t(done));
  }
  s.SignalsChanged();
  s.SigLength = kRows;
  s.FileLoaded = true;
}

void LongBenchRecording::ShowWholeRecording() { ElectrogramBenchRecording::ShowWindowOf(*state_, 0, kRows); }

}  // namespace velmora::bench
