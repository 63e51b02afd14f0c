#pragma once

#include <vector>

namespace velmora {

// One second-order section, a0 = 1: y = b0 x + b1 x[-1] + b2 x[-2] - a1 y[-1] - a2 y[-2].
// The designs are the bilinear transforms with the cut-off pre-warped.
struct Biquad {
  double b0 = 1, b1 = 0, b2 = 0, a1 = 0, a2 = 0;

  double DcGain() const { return (b0 + b1 + b2) / (1 + a1 + a2); }

  // A notch at `hz` with quality `q` (the width of the notch is hz / q).
  static Biquad Notch(double hz, double rateHz, double q);
  // Butterworth low-pass and high-pass of second order.
  static Biquad LowPass(double hz, double rateHz);
  static Biquad HighPass(double hz, double rateHz);
};

// The weights of Savitzky-Golay smoothing: the value at the centre of a least-squares
// polynomial of `order` through `2 half + 1` samples. Empty when the window is too short for
// the order.
std::vector<double> SavitzkyGolayWeights(int half, int order);

}  // namespace velmora
