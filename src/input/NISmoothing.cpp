#include "input/NISmoothing.h"

#include <algorithm>
#include <array>

#include <fmt/format.h>

#include "core/AnalysisState.h"
#include "core/Limits.h"
#include "core/Ui.h"

namespace velmora {

namespace {

// Channels smoothed in one walk down the rows: the 64 channels of an NI recording are four
// cache lines of a store row, so one walk reads and writes each line once instead of once per
// channel, and fetches each row once.
constexpr int kColumnsPerWalk = 64;
constexpr int kRowsFetchedAhead = 32;

// The window's sum over 20, rounded halves to even: the same as RoundedMean. The quotient is
// rounded once, and a true quotient lies at least 1/20 from any half unless it is one, so the
// rounding cannot make or break a tie; adding and taking away 1.5 x 2^52 then rounds to the
// even neighbour in the processor's default mode.
inline int32_t MeanOfWindow(double sum) {
  constexpr double kRoundingShift = 0x1.8p52;
  return int32_t((sum / kSmoothingWidth + kRoundingShift) - kRoundingShift);
}

// Sums of 20 32-bit samples are whole numbers far below 2^53, so doubles hold them exactly
// and the running sums never drift; in doubles the rows are summed and rounded in vectors,
// four at a time where the processor has the instructions (the results are the same bits:
// no step multiplies, so nothing is fused).
__attribute__((target_clones("avx2", "default"))) void WalkColumns(int32_t* base, int count, int length) {
  const auto row = [base](int r) { return base + size_t(r) * kChannels; };
  std::array<double, kColumnsPerWalk> sums{};
  for (int k = 1; k <= kSmoothingWidth; ++k)
    for (int c = 0; c < count; ++c) sums[size_t(c)] += row(k)[c];
  for (int i = 0; i + kSmoothingWidth < length; ++i) {
    int32_t* out = row(i);
    for (int c = 0; c < count; ++c) out[c] = MeanOfWindow(sums[size_t(c)]);
    if (i + kSmoothingWidth + 1 >= length) break;
    const int32_t* leaving = row(i + 1);
    const int32_t* entering = row(i + kSmoothingWidth + 1);
    // Rows lie a kilobyte apart, beyond what the processor fetches ahead by itself.
    if (i + kSmoothingWidth + 1 + kRowsFetchedAhead < length)
      __builtin_prefetch(row(i + kSmoothingWidth + 1 + kRowsFetchedAhead));
    for (int c = 0; c < count; ++c) sums[size_t(c)] += double(entering[c]) - double(leaving[c]);
  }
}

}  // namespace

void NISmoothing::Smooth(AnalysisState& s, Ui& ui) {
  ui.ShowProgress({"", "", kProgressSteps});
  ui.SetProgressText("now smoothing signals ...");
  ui.ProcessEvents();
  // Rows beyond those a load wrote hold nothing to smooth.
  const int length = std::clamp(std::min(s.SigLength, int32_t(s.SignalRowsTouched)), 0, s.SignalRows());
  const int channels = std::clamp(int(s.NIChannels), 0, kChannels);
  for (int first = 1; first <= channels; first += kColumnsPerWalk) {
    const int last = std::min(channels, first + kColumnsPerWalk - 1);
    for (int c = first; c <= last; ++c) {
      ui.SetProgressText(fmt::format("smoothing ele nr = {}", c));
      ui.StepProgress();
      ui.ProcessEvents();
    }
    SmoothColumns(s, first - 1, last - first + 1, length);
  }
  s.SignalsChanged();
  ui.HideProgress();
}

// Row i takes the mean of rows i + 1 .. i + 20. Walking down, those rows are still
// unsmoothed when row i is written, so the means need no copy of the samples.
void NISmoothing::SmoothColumns(AnalysisState& s, int firstColumn, int count, int length) {
  if (length <= kSmoothingWidth) return;
  count = std::clamp(count, 0, kChannels - firstColumn);
  for (int done = 0; done < count; done += kColumnsPerWalk)
    WalkColumns(s.Signals.data() + firstColumn + done, std::min(kColumnsPerWalk, count - done), length);
}

}  // namespace velmora
