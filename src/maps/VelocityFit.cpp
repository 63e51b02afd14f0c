#include "maps/VelocityFit.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "core/AnalysisState.h"

namespace velmora {

namespace {

constexpr int kMostTerms = 6;  // 1, x, y, x², xy, y²

struct Offset {
  int dx, dy;
};

// The cells within `radius` of an electrode, by distance on the grid.
std::vector<Offset> Neighbourhood(int radius) {
  std::vector<Offset> offsets;
  for (int dx = -radius; dx <= radius; ++dx) {
    for (int dy = -radius; dy <= radius; ++dy) {
      if (dx * dx + dy * dy <= radius * radius) offsets.push_back({dx, dy});
    }
  }
  return offsets;
}

using Terms = std::array<double, kMostTerms>;

Terms TermsAt(double x, double y) { return {1, x, y, x * x, x * y, y * y}; }

// The normal equations of the least-squares surface, solved in place by elimination with
// partial pivoting. False when the points do not pin the surface down (all on one line).
class NormalEquations {
 public:
  explicit NormalEquations(int terms) : n_(terms) {}

  void Add(const Terms& t, double time, double w) {
    for (int i = 0; i < n_; ++i) {
      for (int j = 0; j < n_; ++j) m_[i][j] += w * t[size_t(i)] * t[size_t(j)];
      m_[i][n_] += w * t[size_t(i)] * time;
    }
  }

  bool Solve(Terms& coefficients) {
    for (int col = 0; col < n_; ++col) {
      int pivot = col;
      for (int r = col + 1; r < n_; ++r) {
        if (std::abs(m_[r][col]) > std::abs(m_[pivot][col])) pivot = r;
      }
      if (std::abs(m_[pivot][col]) < 1e-9) return false;
      std::swap(m_[pivot], m_[col]);
      for (int r = col + 1; r < n_; ++r) {
        const double f = m_[r][col] / m_[col][col];
        for (int c = col; c <= n_; ++c) m_[r][c] -= f * m_[col][c];
      }
    }
    for (int r = n_ - 1; r >= 0; --r) {
      double sum = m_[r][n_];
      for (int c = r + 1; c < n_; ++c) sum -= m_[r][c] * coefficients[size_t(c)];
      coefficients[size_t(r)] = sum / m_[r][r];
    }
    return true;
  }

 private:
  int n_;
  double m_[kMostTerms][kMostTerms + 1] = {};
};

struct Sample {
  double x, y, time;
};

// Times near the electrode count most, so the surface describes the front at the electrode
// rather than across the whole neighbourhood: a Gaussian of one spacing.
double Weight(const Sample& s) {
  const double spread = VelocityFit::kWeightSpread;
  return std::exp(-(s.x * s.x + s.y * s.y) / (2 * spread * spread));
}

// How far the times lie from the surface, in ms (root mean square, unweighted).
double ResidualRms(const std::vector<Sample>& samples, const Terms& c, int terms) {
  double residual = 0;
  for (const Sample& s : samples) {
    const Terms t = TermsAt(s.x, s.y);
    double fitted = 0;
    for (int i = 0; i < terms; ++i) fitted += c[size_t(i)] * t[size_t(i)];
    residual += (s.time - fitted) * (s.time - fitted);
  }
  return std::sqrt(residual / double(samples.size()));
}

std::optional<Velocity> FitNeighbourhood(const TimeGrid& times, int col, int row, const VelocityFit::Settings& settings,
                                         const std::vector<Offset>& offsets, std::vector<Sample>& samples) {
  if (!times.Has(col, row)) return std::nullopt;
  samples.clear();
  // Times relative to the electrode's own keep the sums small and the elimination exact.
  const double centre = times.At(col, row);
  for (const Offset& o : offsets) {
    if (times.Has(col + o.dx, row + o.dy))
      samples.push_back({double(o.dx), double(o.dy), times.At(col + o.dx, row + o.dy) - centre});
  }
  const int terms = settings.quadratic ? 6 : 3;
  if (int(samples.size()) < VelocityFit::RequiredTimes(settings.quadratic)) return std::nullopt;
  NormalEquations equations(terms);
  for (const Sample& s : samples) equations.Add(TermsAt(s.x, s.y), s.time, Weight(s));
  Terms c{};
  // The residual is measured against the time the front needs to cross one spacing, so the
  // test means the same at every speed and spacing.
  if (!equations.Solve(c) || ResidualRms(samples, c, terms) > VelocityFit::kMostResidualShare * std::hypot(c[1], c[2]))
    return std::nullopt;
  Velocity v;
  if (!VelocityFromGradient(c[1] / settings.spacingMm, c[2] / settings.spacingMm, v)) return std::nullopt;
  return v;
}

}  // namespace

VelocityFit::Settings VelocityFit::SettingsOf(const AnalysisState& s) {
  return {std::clamp(s.VelocityFitRadius, 1, kMostRadius), s.VelocityFitQuadratic, s.ElectrodeDistance};
}

int VelocityFit::RequiredTimes(bool quadratic) { return (quadratic ? 6 : 3) + kSpareTimes; }

std::optional<Velocity> VelocityFit::VelocityAt(const TimeGrid& times, int col, int row, const Settings& settings) {
  if (!(settings.spacingMm > 0)) return std::nullopt;
  std::vector<Sample> samples;
  return FitNeighbourhood(times, col, row, settings, Neighbourhood(std::clamp(settings.radius, 1, kMostRadius)),
                          samples);
}

std::vector<VelocityEstimate> VelocityFit::Estimates(const TimeGrid& times, const Settings& settings) {
  std::vector<VelocityEstimate> estimates;
  if (!(settings.spacingMm > 0)) return estimates;
  const std::vector<Offset> offsets = Neighbourhood(std::clamp(settings.radius, 1, kMostRadius));
  std::vector<Sample> samples;
  samples.reserve(offsets.size());
  for (int col = 1; col <= times.Cols(); ++col) {
    for (int row = 1; row <= times.Rows(); ++row) {
      const std::optional<Velocity> v = FitNeighbourhood(times, col, row, settings, offsets, samples);
      if (v) estimates.push_back({col, row, double(col), double(row), *v});
    }
  }
  return estimates;
}

}  // namespace velmora
