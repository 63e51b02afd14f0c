#include "conditioning/Biquad.h"

#include <cmath>
#include <numbers>

namespace velmora {

namespace {

constexpr double kButterworthQ = std::numbers::sqrt2 / 2;

Biquad Normalised(double b0, double b1, double b2, double a0, double a1, double a2) {
  return {b0 / a0, b1 / a0, b2 / a0, a1 / a0, a2 / a0};
}

}  // namespace

Biquad Biquad::Notch(double hz, double rateHz, double q) {
  const double w = 2 * std::numbers::pi * hz / rateHz, alpha = std::sin(w) / (2 * q), c = std::cos(w);
  return Normalised(1, -2 * c, 1, 1 + alpha, -2 * c, 1 - alpha);
}

Biquad Biquad::LowPass(double hz, double rateHz) {
  const double w = 2 * std::numbers::pi * hz / rateHz, alpha = std::sin(w) / (2 * kButterworthQ), c = std::cos(w);
  // 1 - cos w written as 2 sin^2(w/2), which keeps its digits for the lowest cut-offs.
  const double oneLessCos = 2 * std::sin(w / 2) * std::sin(w / 2);
  return Normalised(oneLessCos / 2, oneLessCos, oneLessCos / 2, 1 + alpha, -2 * c, 1 - alpha);
}

Biquad Biquad::HighPass(double hz, double rateHz) {
  const double w = 2 * std::numbers::pi * hz / rateHz, alpha = std::sin(w) / (2 * kButterworthQ), c = std::cos(w);
  return Normalised((1 + c) / 2, -(1 + c), (1 + c) / 2, 1 + alpha, -2 * c, 1 - alpha);
}

// Least squares through x = -half .. half: the weights are the first row of (J'J)^-1 J', with
// J[i][k] = x_i^k. The normal equations are small and solved by elimination with pivoting.
std::vector<double> SavitzkyGolayWeights(int half, int order) {
  const int n = 2 * half + 1, m = order + 1;
  if (half < 1 || order < 0 || n <= order) return {};
  std::vector<std::vector<double>> a(size_t(m), std::vector<double>(size_t(m) + 1, 0.0));
  for (int r = 0; r < m; ++r)
    for (int c = 0; c < m; ++c)
      for (int x = -half; x <= half; ++x) a[size_t(r)][size_t(c)] += std::pow(double(x), r + c);
  // Solve (J'J) z = e0; the weight of sample x is then sum_k z_k x^k.
  a[0][size_t(m)] = 1;
  for (int col = 0; col < m; ++col) {
    int pivot = col;
    for (int r = col + 1; r < m; ++r)
      if (std::fabs(a[size_t(r)][size_t(col)]) > std::fabs(a[size_t(pivot)][size_t(col)])) pivot = r;
    std::swap(a[size_t(col)], a[size_t(pivot)]);
    for (int r = 0; r < m; ++r) {
      if (r == col) continue;
      const double f = a[size_t(r)][size_t(col)] / a[size_t(col)][size_t(col)];
      for (int c = col; c <= m; ++c) a[size_t(r)][size_t(c)] -= f * a[size_t(col)][size_t(c)];
    }
  }
  std::vector<double> weights;
  for (int x = -half; x <= half; ++x) {
    double w = 0;
    for (int k = 0; k < m; ++k) w += a[size_t(k)][size_t(m)] / a[size_t(k)][size_t(k)] * std::pow(double(x), k);
    weights.push_back(w);
  }
  return weights;
}

}  // namespace velmora
