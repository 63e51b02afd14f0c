#include "input/NISmoothing.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <string>

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

std::string FileNameOnly(const std::string& path) { return std::filesystem::path(path).filename().string(); }

// The window's sum over 20, rounded halves to even: the same as RoundedMean. The quotient is
// rounded once, and a true quotient lies at least 1/20 from any half unless it is one, so the
// rounding cannot make or break a tie; adding and taking away 1.5 x 2^52 then rounds to the
// even neighbour in the processor's default mode.
inline int32_t MeanOfWindow(double sum) {
  constexpr double kRoundingShift = 0x1.8p52;
  return int32_t((sum / kSmoothingWidth + kRoundingShift) - kRoundingShift);
}

// Samples below 2^19 in size keep the sums of 20 below 2^24: whole numbers that 32-bit integers
// and floats both hold exactly. Over those, a float quotient lies within 1/32 of the true one
// (below 2^20 a float's spacing is at most 1/16), nearer than the 1/20 that parts any other
// quotient from a half, and a half itself is exact; so rounding it gives what RoundedMean gives.
constexpr uint32_t kSmallSampleLimit = uint32_t(1) << 19;

inline uint32_t Magnitude(int32_t sample) { return sample < 0 ? 0u - uint32_t(sample) : uint32_t(sample); }

inline int32_t MeanOfSmallWindow(uint32_t sum) {
  constexpr float kRoundingShift = 0x1.8p23f;
  return int32_t((float(int32_t(sum)) / float(kSmoothingWidth) + kRoundingShift) - kRoundingShift);
}

// The walk while every sample met is small: sums, quotients and rounding eight channels to a
// vector where the processor has the instructions. Returns the first row it did not write,
// `length` when it wrote them all, or where a larger sample came in sight.
__attribute__((target_clones("avx2", "default"))) int WalkSmall(int32_t* base, int count, int length) {
  const auto row = [base](int r) { return base + size_t(r) * kChannels; };
  std::array<uint32_t, kColumnsPerWalk> sums{};  // wrapping adds, exact while the samples are small
  uint32_t seen = 0;
  for (int k = 1; k <= kSmoothingWidth; ++k)
    for (int c = 0; c < count; ++c) {
      sums[size_t(c)] += uint32_t(row(k)[c]);
      seen |= Magnitude(row(k)[c]);
    }
  if (seen >= kSmallSampleLimit) return 0;
  for (int i = 0; i + kSmoothingWidth < length; ++i) {
    int32_t* out = row(i);
    for (int c = 0; c < count; ++c) out[c] = MeanOfSmallWindow(sums[size_t(c)]);
    if (i + kSmoothingWidth + 1 >= length) break;
    const int32_t* leaving = row(i + 1);
    const int32_t* entering = row(i + kSmoothingWidth + 1);
    if (i + kSmoothingWidth + 1 + kRowsFetchedAhead < length)
      __builtin_prefetch(row(i + kSmoothingWidth + 1 + kRowsFetchedAhead));
    for (int c = 0; c < count; ++c) seen |= Magnitude(entering[c]);
    if (seen >= kSmallSampleLimit) return i + 1;
    for (int c = 0; c < count; ++c) sums[size_t(c)] += uint32_t(entering[c]) - uint32_t(leaving[c]);
  }
  return length;
}

// Sums of 20 32-bit samples are whole numbers far below 2^53, so doubles hold them exactly
// and the running sums never drift; in doubles the rows are summed and rounded in vectors,
// four at a time where the processor has the instructions (the results are the same bits:
// no step multiplies, so nothing is fused). The walk starts at row `from`.
__attribute__((target_clones("avx2", "default"))) void WalkAny(int32_t* base, int count, int length, int from) {
  const auto row = [base](int r) { return base + size_t(r) * kChannels; };
  std::array<double, kColumnsPerWalk> sums{};
  for (int k = from + 1; k <= from + kSmoothingWidth; ++k)
    for (int c = 0; c < count; ++c) sums[size_t(c)] += row(k)[c];
  for (int i = from; i + kSmoothingWidth < length; ++i) {
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

// Row i is written only once rows i + 1 .. i + 20 are known, so the walk over small samples can
// hand over to the general one at any row.
void WalkColumns(int32_t* base, int count, int length) {
  const int from = WalkSmall(base, count, length);
  if (from + kSmoothingWidth < length) WalkAny(base, count, length, from);
}

}  // namespace

void NISmoothing::Smooth(AnalysisState& s, Ui& ui) {
  ui.ShowProgress({FileNameOnly(s.ElgFileName), FileNameOnly(s.MatrixFileName), kProgressSteps, kTitle});
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
  // Row i becomes the mean of rows i + 1 .. i + 20: sample i + 1 that of samples i + 2 .. i + 21.
  s.SignalLookAhead += (kSmoothingWidth + 1) / 2.0;
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
