#include "input/NISmoothing.h"

#include <algorithm>
#include <vector>

#include <fmt/format.h>

#include "core/AnalysisState.h"
#include "core/Arithmetic.h"
#include "core/Limits.h"
#include "core/Ui.h"

namespace velmora {

void NISmoothing::Smooth(AnalysisState& s, Ui& ui) {
  ui.ShowProgress({"", "", kProgressSteps});
  ui.SetProgressText("now smoothing signals ...");
  ui.ProcessEvents();
  // Rows beyond those a load wrote hold nothing to smooth.
  const int length = std::clamp(std::min(s.SigLength, int32_t(s.SignalRowsTouched)), 0, kSignalRows);
  const int channels = std::clamp(int(s.NIChannels), 0, kChannels);
  for (int c = 1; c <= channels; ++c) {
    ui.SetProgressText(fmt::format("smoothing ele nr = {}", c));
    ui.StepProgress();
    ui.ProcessEvents();
    SmoothChannel(s, c - 1, length);
  }
  s.SignalsChanged();
  ui.HideProgress();
}

void NISmoothing::SmoothChannel(AnalysisState& s, int column, int length) {
  if (length <= kSmoothingWidth) return;
  // The means are taken from a copy, never from samples already smoothed.
  std::vector<int32_t> copy(static_cast<size_t>(length));
  int32_t* store = s.Signals.data() + column;
  for (int i = 0; i < length; ++i) copy[size_t(i)] = store[size_t(i) * kChannels];
  int64_t sum = 0;
  for (int k = 1; k <= kSmoothingWidth; ++k) sum += copy[size_t(k)];
  for (int i = 0; i + kSmoothingWidth < length; ++i) {
    store[size_t(i) * kChannels] = RoundedMean(sum, kSmoothingWidth);
    if (i + kSmoothingWidth + 1 < length) sum += int64_t(copy[size_t(i + kSmoothingWidth + 1)]) - copy[size_t(i + 1)];
  }
}

}  // namespace velmora
