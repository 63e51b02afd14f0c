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

void LongBenchRecording::ShowWholeRecording() {
  AnalysisState& s = *state_;
  s.PaneWidth = 1600;
  s.PaneHeight = 900;
  s.NrTraces = 24;
  s.TraceOrder = 0;
  s.FirstChannel = 17;
  s.CurBegin = 0;
  s.CurWindow = kRows;
  s.ShowElgTimes = true;
  s.AverageOffset = true;
}

}  // namespace velmora::bench
