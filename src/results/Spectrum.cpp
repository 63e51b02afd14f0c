#include "results/Spectrum.h"

#include <fftw3.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>

#include "core/AnalysisState.h"

namespace velmora {

namespace {

constexpr double kSecondsPerMinute = 60;
constexpr size_t kPadding = 4;

struct FftwFree {
  void operator()(void* p) const { fftw_free(p); }
};
struct PlanDestroy {
  void operator()(fftw_plan p) const { fftw_destroy_plan(p); }
};

// Removes the least-squares line and applies a Hann window.
std::vector<double> Prepared(const std::vector<double>& samples) {
  const size_t n = samples.size();
  double sx = 0, sy = 0, sxx = 0, sxy = 0;
  for (size_t i = 0; i < n; ++i) sx += double(i), sy += samples[i], sxx += double(i) * i, sxy += double(i) * samples[i];
  const double d = n * sxx - sx * sx, slope = d != 0 ? (n * sxy - sx * sy) / d : 0, offset = (sy - slope * sx) / n;
  std::vector<double> out(n);
  for (size_t i = 0; i < n; ++i) {
    const double hann = n > 1 ? 0.5 - 0.5 * std::cos(2 * std::numbers::pi * double(i) / double(n - 1)) : 1;
    out[i] = (samples[i] - offset - slope * double(i)) * hann;
  }
  return out;
}

size_t PaddedLength(size_t n) {
  size_t length = 1;
  while (length < n * kPadding) length *= 2;
  return length;
}

}  // namespace

std::vector<double> Spectrum::ChannelSamples(const AnalysisState& s, int channel) {
  std::vector<double> out;
  if (channel < 1 || channel > kChannels || s.SamplingF <= 0) return out;
  const int rows = std::min(s.SigLength, s.SignalRows());
  const int block = std::max(1, int(std::lround(s.SamplingF / kRateHz)));
  for (int row = 0; row + block <= rows; row += block) {
    double sum = 0;
    for (int r = row; r < row + block; ++r) sum += s.Signal(r, channel - 1);
    out.push_back(sum / block);
  }
  return out;
}

Spectrum::Result Spectrum::Of(const std::vector<double>& samples, double rateHz) {
  Result result;
  if (samples.size() < 4 || !(rateHz > 0)) return result;
  const std::vector<double> prepared = Prepared(samples);
  const size_t n = PaddedLength(prepared.size()), bins = n / 2 + 1;
  std::unique_ptr<double, FftwFree> in(fftw_alloc_real(n));
  std::unique_ptr<fftw_complex, FftwFree> out(fftw_alloc_complex(bins));
  const std::unique_ptr<std::remove_pointer_t<fftw_plan>, PlanDestroy> plan(
      fftw_plan_dft_r2c_1d(int(n), in.get(), out.get(), FFTW_ESTIMATE));
  std::fill(in.get(), in.get() + n, 0.0);
  std::copy(prepared.begin(), prepared.end(), in.get());
  fftw_execute(plan.get());
  const double cpmPerBin = rateHz / double(n) * kSecondsPerMinute;
  size_t best = 0;
  for (size_t k = 1; k < bins; ++k) {
    const double cpm = k * cpmPerBin;
    if (cpm < kLowestCpm || cpm > kHighestCpm) continue;
    const double power = out.get()[k][0] * out.get()[k][0] + out.get()[k][1] * out.get()[k][1];
    result.cpm.push_back(cpm);
    result.power.push_back(power);
    if (best == 0 || power > result.power[best - 1]) best = result.power.size();
  }
  if (best == 0) return result;
  const size_t i = best - 1;
  double shift = 0;
  if (i > 0 && i + 1 < result.power.size()) {
    const double a = result.power[i - 1], b = result.power[i], c = result.power[i + 1];
    const double curve = a - 2 * b + c;
    if (curve < 0) shift = std::clamp(0.5 * (a - c) / curve, -0.5, 0.5);
  }
  result.dominantCpm = result.cpm[i] + shift * cpmPerBin;
  return result;
}

std::vector<Spectrum::Moment> Spectrum::OverTime(const std::vector<double>& samples, double rateHz, double windowS,
                                                 double stepS) {
  std::vector<Moment> moments;
  if (!(rateHz > 0) || !(windowS > 0) || !(stepS > 0) || samples.empty()) return moments;
  const size_t window = std::min(samples.size(), size_t(std::lround(windowS * rateHz)));
  const size_t step = std::max<size_t>(1, size_t(std::lround(stepS * rateHz)));
  for (size_t start = 0; start + window <= samples.size(); start += step) {
    const std::vector<double> part(samples.begin() + long(start), samples.begin() + long(start + window));
    moments.push_back({double(start) / rateHz, Of(part, rateHz).dominantCpm});
  }
  return moments;
}

}  // namespace velmora
