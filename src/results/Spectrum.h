#pragma once

#include <optional>
#include <vector>

namespace velmora {

struct AnalysisState;

// Power spectra of a channel's signal and the dominant frequency of its slow waves, from
// FFTW. Before the transform the signal is averaged down to kRateHz (slow waves lie far below
// its Nyquist frequency), its straight-line trend removed and a Hann window applied; the
// transform is padded to at least four times the window, and the dominant frequency is the
// highest power between kLowestCpm and kHighestCpm, refined by a parabola through its
// neighbours.
class Spectrum {
 public:
  static constexpr double kRateHz = 4;
  static constexpr double kLowestCpm = 0.5, kHighestCpm = 20;
  static constexpr double kWindowS = 120, kStepS = 30;

  struct Result {
    std::vector<double> cpm, power;  // the bins between the band's ends
    std::optional<double> dominantCpm;
  };
  struct Moment {
    double startS = 0;  // where the window begins
    std::optional<double> dominantCpm;
  };

  // The channel's samples (1..256) averaged down to kRateHz.
  static std::vector<double> ChannelSamples(const AnalysisState& state, int channel);
  static Result Of(const std::vector<double>& samples, double rateHz);
  // The dominant frequency in windows of `windowS` every `stepS` seconds; one window over
  // everything when the signal is shorter.
  static std::vector<Moment> OverTime(const std::vector<double>& samples, double rateHz, double windowS = kWindowS,
                                      double stepS = kStepS);
};

}  // namespace velmora
