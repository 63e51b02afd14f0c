#include "maps/VelocityFit.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <memory>
#include <unordered_map>

#include "core/AnalysisState.h"

namespace velmora {

namespace {

constexpr int kMostTerms = 6;  // 1, x, y, x², xy, y²
constexpr int kQuadraticTerms = 6;
constexpr int kPlaneTerms = 3;
constexpr double kSmallestPivot = 1e-9;

using Terms = std::array<double, kMostTerms>;

Terms TermsAt(double x, double y) { return {1, x, y, x * x, x * y, y * y}; }

// Times near the electrode count most, so the surface describes the front at the electrode
// rather than across the whole neighbourhood: a Gaussian of one spacing.
double WeightAt(double x, double y) {
  const double spread = VelocityFit::kWeightSpread;
  return std::exp(-(x * x + y * y) / (2 * spread * spread));
}

// One cell of the neighbourhood, with what the fit needs of it worked out once.
struct Offset {
  Offset(int x, int y) : dx(x), dy(y), weight(WeightAt(x, y)), terms(TermsAt(x, y)) {
    for (size_t i = 0; i < kMostTerms; ++i) {
      weighted[i] = weight * terms[i];
      for (size_t j = i; j < kMostTerms; ++j) products[i][j] = weighted[i] * terms[j];
    }
  }

  int dx, dy;
  double weight;
  Terms terms;
  Terms weighted;                                     // weight times each term
  double products[kMostTerms][kMostTerms] = {};       // upper half of the weighted outer product
};

// The cells within `radius` of an electrode, by distance on the grid.
std::vector<Offset> Neighbourhood(int radius) {
  std::vector<Offset> offsets;
  for (int dx = -radius; dx <= radius; ++dx) {
    for (int dy = -radius; dy <= radius; ++dy) {
      if (dx * dx + dy * dy <= radius * radius) offsets.emplace_back(dx, dy);
    }
  }
  return offsets;
}

// The weighted normal equations of the surface. The matrix is symmetric and positive
// definite unless the points fix no surface (all on one line), so the elimination needs no
// row exchanges and works on the upper half alone; a pivot that is not clearly positive
// means the surface is not pinned down.
template <int n_>
class NormalEquations {
 public:
  // The matrix is symmetric: only its upper half is summed.
  void Add(const Offset& o) {
    for (int i = 0; i < n_; ++i)
      for (int j = i; j < n_; ++j) m_[i][j] += o.products[i][j];
  }

  // Eliminates once for any number of right-hand sides; false when the surface is not
  // pinned down.
  bool Eliminate() {
    for (int k = 0; k < n_; ++k) {
      if (!(m_[k][k] >= kSmallestPivot)) return false;
      inversePivot_[k] = 1 / m_[k][k];
      for (int r = k + 1; r < n_; ++r) {
        const double f = m_[k][r] * inversePivot_[k];
        for (int c = r; c < n_; ++c) m_[r][c] -= f * m_[k][c];
      }
    }
    return true;
  }

  // After Eliminate: the coefficients for `rhs`.
  void Solve(Terms rhs, Terms& coefficients) const {
    for (int k = 0; k < n_; ++k)
      for (int r = k + 1; r < n_; ++r) rhs[size_t(r)] -= m_[k][r] * inversePivot_[k] * rhs[size_t(k)];
    for (int r = n_ - 1; r >= 0; --r) {
      double sum = rhs[size_t(r)];
      for (int c = r + 1; c < n_; ++c) sum -= m_[r][c] * coefficients[size_t(c)];
      coefficients[size_t(r)] = sum * inversePivot_[r];
    }
  }

 private:
  double m_[kMostTerms][kMostTerms] = {};
  double inversePivot_[kMostTerms] = {};
};

// A time of the neighbourhood: which offset, and the time relative to the electrode's own
// (which keeps the sums small).
struct Sample {
  size_t offset;
  double time;
};

// The fit of one radius and surface. The coefficients of a neighbourhood are fixed weighted sums
// of its times, the weights depending only on which of its cells have times: those weights
// are worked out once per set of cells (the whole neighbourhood, an edge, a corner, a gap) and
// kept, so an electrode's fit is a weighted sum. The number of coefficients is fixed per
// surface so the small loops over them unroll.
template <int terms_>
class FitPlan {
 public:
  explicit FitPlan(int radius) : offsets_(Neighbourhood(std::clamp(radius, 1, VelocityFit::kMostRadius))) {}

  // The plan of a radius, kept for the next maps: the weights of each set of cells it meets
  // are worked out once.
  static const FitPlan& Of(int radius) {
    thread_local std::map<int, std::unique_ptr<FitPlan>> plans;
    std::unique_ptr<FitPlan>& plan = plans[std::clamp(radius, 1, VelocityFit::kMostRadius)];
    if (!plan) plan = std::make_unique<FitPlan>(radius);
    return *plan;
  }

  std::optional<Velocity> At(const TimeGrid& times, int col, int row, double spacingMm,
                             std::vector<Sample>& samples) const {
    if (!times.Has(col, row)) return std::nullopt;
    samples.clear();
    const double centre = times.At(col, row);
    for (size_t i = 0; i < offsets_.size(); ++i) {
      const int c = col + offsets_[i].dx, r = row + offsets_[i].dy;
      if (!times.Inside(c, r)) continue;
      const double time = times.At(c, r);
      if (time >= 0) samples.push_back({i, time - centre});
    }
    Terms c{};
    for (int dropped = 0;; ++dropped) {
      if (int(samples.size()) < terms_ + VelocityFit::kSpareTimes) return std::nullopt;
      c = Terms{};
      if (!Coefficients(samples, c)) return std::nullopt;
      // The residual is measured against the time the front needs to cross one spacing, so
      // the test means the same at every speed and spacing.
      // Compared squared: root mean square against share times the gradient's length.
      constexpr double kShareSquared = VelocityFit::kMostResidualShare * VelocityFit::kMostResidualShare;
      if (MeanSquareResidual(samples, c) <= kShareSquared * (c[1] * c[1] + c[2] * c[2])) break;
      if (dropped == VelocityFit::kMostDropped || !DropWorst(samples, c)) return std::nullopt;
    }
    Velocity v;
    if (!VelocityFromGradient(c[1] / spacingMm, c[2] / spacingMm, v)) return std::nullopt;
    return v;
  }

  size_t Size() const { return offsets_.size(); }

 private:
  using SampleWeights = std::optional<std::vector<Terms>>;  // nothing when the cells fix no surface

  // Per sample, what its time adds to each coefficient: the columns of the inverse normal
  // matrix, weighted by the sample's terms.
  SampleWeights WeightsFor(const std::vector<Sample>& samples) const {
    NormalEquations<terms_> equations;
    for (const Sample& s : samples) equations.Add(offsets_[s.offset]);
    if (!equations.Eliminate()) return std::nullopt;
    std::array<Terms, kMostTerms> inverse{};
    for (int k = 0; k < terms_; ++k) {
      Terms unit{};
      unit[size_t(k)] = 1;
      equations.Solve(unit, inverse[size_t(k)]);
    }
    std::vector<Terms> weights(samples.size());
    for (size_t n = 0; n < samples.size(); ++n) {
      const Offset& o = offsets_[samples[n].offset];
      for (int k = 0; k < terms_; ++k) {
        double sum = 0;
        for (int j = 0; j < terms_; ++j) sum += inverse[size_t(j)][size_t(k)] * o.weight * o.terms[size_t(j)];
        weights[n][size_t(k)] = sum;
      }
    }
    return weights;
  }

  bool Coefficients(const std::vector<Sample>& samples, Terms& c) const {
    const SampleWeights* weights = WeightsOfCells(samples);
    if (weights == nullptr) return Solved(samples, c);
    if (!*weights) return false;
    for (size_t n = 0; n < samples.size(); ++n)
      for (int k = 0; k < terms_; ++k) c[size_t(k)] += (**weights)[n][size_t(k)] * samples[n].time;
    return true;
  }

  // The weights of the cells `samples` has times in, worked out on first meeting them;
  // nothing where the cells are too many to name in one word or too many sets were met.
  const SampleWeights* WeightsOfCells(const std::vector<Sample>& samples) const {
    if (offsets_.size() > kMostCellsNamed) return nullptr;
    uint64_t cells = 0;
    for (const Sample& s : samples) cells |= uint64_t(1) << s.offset;
    const auto known = weights_.find(cells);
    if (known != weights_.end()) return &known->second;
    if (weights_.size() >= kMostCellSets) return nullptr;
    return &weights_.emplace(cells, WeightsFor(samples)).first->second;
  }

  bool Solved(const std::vector<Sample>& samples, Terms& c) const {
    NormalEquations<terms_> equations;
    Terms rhs{};
    for (const Sample& s : samples) {
      const Offset& o = offsets_[s.offset];
      equations.Add(o);
      for (int k = 0; k < terms_; ++k) rhs[size_t(k)] += o.weighted[size_t(k)] * s.time;
    }
    if (!equations.Eliminate()) return false;
    equations.Solve(rhs, c);
    return true;
  }

  double Fitted(const Sample& s, const Terms& c) const {
    double fitted = 0;
    for (int k = 0; k < terms_; ++k) fitted += c[size_t(k)] * offsets_[s.offset].terms[size_t(k)];
    return fitted;
  }

  // Leaves out the time farthest from the surface, unless that is the electrode's own: an
  // electrode whose own time is off gets no velocity.
  bool DropWorst(std::vector<Sample>& samples, const Terms& c) const {
    size_t worst = 0;
    for (size_t n = 1; n < samples.size(); ++n) {
      if (std::abs(samples[n].time - Fitted(samples[n], c)) > std::abs(samples[worst].time - Fitted(samples[worst], c)))
        worst = n;
    }
    const Offset& o = offsets_[samples[worst].offset];
    if (o.dx == 0 && o.dy == 0) return false;
    samples.erase(samples.begin() + std::ptrdiff_t(worst));
    return true;
  }

  // How far the times lie from the surface, in ms² (mean square, unweighted).
  double MeanSquareResidual(const std::vector<Sample>& samples, const Terms& c) const {
    double residual = 0;
    for (const Sample& s : samples) {
      const double miss = s.time - Fitted(s, c);
      residual += miss * miss;
    }
    return residual / double(samples.size());
  }

  // A set of cells is named by one bit per cell; an edge of a grid, gaps and dropped times
  // make a few dozen sets, a map full of holes more, so the sets kept are bounded.
  static constexpr size_t kMostCellsNamed = 64;
  static constexpr size_t kMostCellSets = 4096;

  std::vector<Offset> offsets_;
  mutable std::unordered_map<uint64_t, SampleWeights> weights_;
};

template <int terms>
std::vector<VelocityEstimate> EstimatesOf(const FitPlan<terms>& plan, const TimeGrid& times, double spacingMm) {
  std::vector<VelocityEstimate> estimates;
  estimates.reserve(size_t(times.Cols()) * size_t(times.Rows()));
  std::vector<Sample> samples;
  samples.reserve(plan.Size());
  for (int col = 1; col <= times.Cols(); ++col) {
    for (int row = 1; row <= times.Rows(); ++row) {
      const std::optional<Velocity> v = plan.At(times, col, row, spacingMm, samples);
      if (v) estimates.push_back({col, row, double(col), double(row), *v});
    }
  }
  return estimates;
}

}  // namespace

VelocityFit::Settings VelocityFit::SettingsOf(const AnalysisState& s) {
  return {std::clamp(s.VelocityFitRadius, 1, kMostRadius), s.VelocityFitQuadratic, s.ElectrodeDistance};
}

int VelocityFit::RequiredTimes(bool quadratic) { return (quadratic ? kQuadraticTerms : kPlaneTerms) + kSpareTimes; }

std::optional<Velocity> VelocityFit::VelocityAt(const TimeGrid& times, int col, int row, const Settings& settings) {
  if (!(settings.spacingMm > 0)) return std::nullopt;
  std::vector<Sample> samples;
  if (settings.quadratic)
    return FitPlan<kQuadraticTerms>::Of(settings.radius).At(times, col, row, settings.spacingMm, samples);
  return FitPlan<kPlaneTerms>::Of(settings.radius).At(times, col, row, settings.spacingMm, samples);
}

std::vector<VelocityEstimate> VelocityFit::Estimates(const TimeGrid& times, const Settings& settings) {
  if (!(settings.spacingMm > 0)) return {};
  if (settings.quadratic) return EstimatesOf(FitPlan<kQuadraticTerms>::Of(settings.radius), times, settings.spacingMm);
  return EstimatesOf(FitPlan<kPlaneTerms>::Of(settings.radius), times, settings.spacingMm);
}

}  // namespace velmora
