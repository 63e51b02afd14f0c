#include "conditioning/FilterSweep.h"

#include <algorithm>
#include <cstring>

#include "core/Limits.h"
#include "core/WidestVectors.h"

namespace velmora {

namespace {

// Eight channels side by side: GCC's vector types, which each build of the sweeps below
// turns into the widest registers the processor has. They are kept at the alignment of their
// elements: the heap and the stack of a build for plain x86-64 give no more, and loads and
// stores that need none cost the same.
typedef double Doubles __attribute__((vector_size(64), aligned(8)));
typedef float Floats __attribute__((vector_size(32), aligned(4)));
typedef int32_t Words __attribute__((vector_size(32), aligned(4)));

constexpr int kLanes = FilterSweep::kLanes;
// Adding and taking away 1.5 x 2^52 rounds to whole, halves to even.
constexpr double kRounder = 0x1.8p52;
constexpr double kLowest = -2147483648.0, kHighest = 2147483647.0;

struct SectionState {
  Doubles s1, s2;
};

// Vectors held in containers are wrapped, so that the containers see their alignment.
struct Mask {
  Words lanes;
};
struct Held {
  Doubles lanes;
};

struct SweepData {
  int32_t* store = nullptr;
  int64_t rows = 0;
  std::vector<int> blocks;
  std::vector<Mask> keep;  // per block: all ones in the lanes that are filtered
  std::vector<Biquad> sections;
  std::vector<double> smoothing;
  int64_t half = 0;
  std::vector<SectionState> states;  // section by section, a block after the other
  int64_t forwardDone = 0, backwardNext = -1;
  std::vector<Held> ring;  // the last 2 half + 1 rows of the backward sweep, for the smoothing
  std::vector<double> row;    // one row's results, block after block

  int32_t* At(int64_t r, size_t b) const { return store + r * kChannels + int64_t(blocks[b]) * kLanes; }
  Doubles& Ringed(int64_t r, size_t b) { return ring[size_t(r % (2 * half + 1)) * blocks.size() + b].lanes; }
};

[[gnu::always_inline]] inline Words Load(const int32_t* at) {
  Words w;
  std::memcpy(&w, at, sizeof w);
  return w;
}

[[gnu::always_inline]] inline void Put(int32_t* at, Words w) { std::memcpy(at, &w, sizeof w); }

// What the forward sweep left in a row: its floats where the lanes are filtered, 0 elsewhere.
[[gnu::always_inline]] inline Doubles Forwarded(const int32_t* at, Words keep) {
  Floats f;
  const Words bits = Load(at) & keep;
  std::memcpy(&f, &bits, sizeof f);
  return __builtin_convertvector(f, Doubles);
}

// One section in transposed direct form II.
[[gnu::always_inline]] inline Doubles Section(const Biquad& q, SectionState& s, Doubles x) {
  const Doubles y = q.b0 * x + s.s1;
  s.s1 = q.b1 * x - q.a1 * y + s.s2;
  s.s2 = q.b2 * x - q.a2 * y;
  return y;
}

// The states in which a constant input x gives the constant output G x, section by section,
// so that a channel far from zero at its start sets off no ringing.
[[gnu::always_inline]] inline void Settle(SweepData& d, size_t b, Doubles x) {
  const size_t blocks = d.blocks.size();
  for (size_t k = 0; k < d.sections.size(); ++k) {
    const Biquad& q = d.sections[k];
    SectionState& s = d.states[k * blocks + b];
    const Doubles y = q.DcGain() * x;
    s.s2 = q.b2 * x - q.a2 * y;
    s.s1 = q.b1 * x - q.a1 * y + s.s2;
    x = y;
  }
}

[[gnu::always_inline]] inline Doubles Through(SweepData& d, size_t b, Doubles x) {
  const size_t blocks = d.blocks.size();
  for (size_t k = 0; k < d.sections.size(); ++k) x = Section(d.sections[k], d.states[k * blocks + b], x);
  return x;
}

// Sections up to this many are run a block at a time down a stretch of rows, their states held
// in registers: the rows' recurrences then overlap, where one row of all the blocks at a time
// waits on each state's trip through memory. Longer chains go row by row.
constexpr int kMostHeldSections = 8;
constexpr int64_t kStretchRows = 128;  // 128 KiB of the store

// Whole microvolts of `v` in the filtered lanes of `at`, the others left as they are.
[[gnu::always_inline]] inline void PutRounded(int32_t* at, Doubles v, Words keep) {
  v = v == v ? v : Doubles{};
  v = v < kLowest ? Doubles{} + kLowest : v;
  v = v > kHighest ? Doubles{} + kHighest : v;
  const Words stored = __builtin_convertvector((v + kRounder) - kRounder, Words);
  Put(at, (stored & keep) | (Load(at) & ~keep));
}

// Rows [from, to) of block b through N sections: forward in ascending order, the results left
// as floats; or backward in descending order from to - 1, the results rounded.
template <int N, bool kForward>
[[gnu::always_inline]] inline void RunBlock(SweepData& d, size_t b, int64_t from, int64_t to) {
  const size_t blocks = d.blocks.size();
  Doubles s1[N], s2[N];
  double b0[N], b1[N], b2[N], a1[N], a2[N];
  for (int k = 0; k < N; ++k) {
    s1[k] = d.states[size_t(k) * blocks + b].s1;
    s2[k] = d.states[size_t(k) * blocks + b].s2;
    const Biquad& q = d.sections[size_t(k)];
    b0[k] = q.b0, b1[k] = q.b1, b2[k] = q.b2, a1[k] = q.a1, a2[k] = q.a2;
  }
  const Words keep = d.keep[b].lanes;
  for (int64_t i = from; i < to; ++i) {
    const int64_t r = kForward ? i : to - 1 - (i - from);
    int32_t* at = d.At(r, b);
    const Words raw = Load(at);
    Doubles x = kForward ? __builtin_convertvector(raw, Doubles) : Forwarded(at, keep);
    for (int k = 0; k < N; ++k) {
      const Doubles y = b0[k] * x + s1[k];
      s1[k] = b1[k] * x - a1[k] * y + s2[k];
      s2[k] = b2[k] * x - a2[k] * y;
      x = y;
    }
    if (kForward) {
      const Floats y = __builtin_convertvector(x, Floats);
      Words bits;
      std::memcpy(&bits, &y, sizeof bits);
      Put(at, (bits & keep) | (raw & ~keep));
    } else {
      PutRounded(at, x, keep);
    }
  }
  for (int k = 0; k < N; ++k) {
    d.states[size_t(k) * blocks + b].s1 = s1[k];
    d.states[size_t(k) * blocks + b].s2 = s2[k];
  }
}

template <bool kForward>
[[gnu::always_inline]] inline void RunStretch(SweepData& d, int64_t from, int64_t to) {
  for (size_t b = 0; b < d.blocks.size(); ++b) switch (d.sections.size()) {
      case 1: RunBlock<1, kForward>(d, b, from, to); break;
      case 2: RunBlock<2, kForward>(d, b, from, to); break;
      case 3: RunBlock<3, kForward>(d, b, from, to); break;
      case 4: RunBlock<4, kForward>(d, b, from, to); break;
      case 5: RunBlock<5, kForward>(d, b, from, to); break;
      case 6: RunBlock<6, kForward>(d, b, from, to); break;
      case 7: RunBlock<7, kForward>(d, b, from, to); break;
      case 8: RunBlock<8, kForward>(d, b, from, to); break;
      default: break;
    }
}

// Rows [from, to) in stretches that stay in the cache while every block runs down them.
template <bool kForward>
[[gnu::always_inline]] inline void RunBlocks(SweepData& d, int64_t from, int64_t to) {
  if (kForward)
    for (int64_t s = from; s < to; s += kStretchRows) RunStretch<true>(d, s, std::min(s + kStretchRows, to));
  else
    for (int64_t e = to; e > from; e -= kStretchRows) RunStretch<false>(d, std::max(e - kStretchRows, from), e);
}

VELMORA_WIDEST_VECTORS void ForwardRows(SweepData& d, int64_t to) {
  const size_t blocks = d.blocks.size();
  if (d.forwardDone == 0)
    for (size_t b = 0; b < blocks; ++b) Settle(d, b, __builtin_convertvector(Load(d.At(0, b)), Doubles));
  if (!d.sections.empty() && d.sections.size() <= size_t(kMostHeldSections)) {
    if (to > d.forwardDone) RunBlocks<true>(d, d.forwardDone, to);
    d.forwardDone = std::max(d.forwardDone, to);
    return;
  }
  for (int64_t r = d.forwardDone; r < to; ++r)
    for (size_t b = 0; b < blocks; ++b) {
      int32_t* at = d.At(r, b);
      const Words raw = Load(at);
      const Floats y = __builtin_convertvector(Through(d, b, __builtin_convertvector(raw, Doubles)), Floats);
      Words bits;
      std::memcpy(&bits, &y, sizeof bits);
      Put(at, (bits & d.keep[b].lanes) | (raw & ~d.keep[b].lanes));
    }
  d.forwardDone = std::max(d.forwardDone, to);
}

// Whole microvolts of d.row into row r of the store, in the filtered lanes.
[[gnu::always_inline]] inline void WriteRow(SweepData& d, int64_t r) {
  for (size_t b = 0; b < d.blocks.size(); ++b) {
    int32_t* at = d.At(r, b);
    int32_t keep[kLanes];
    std::memcpy(keep, &d.keep[b].lanes, sizeof keep);
    const double* values = d.row.data() + b * kLanes;
    for (int l = 0; l < kLanes; ++l) {
      double v = values[l];
      v = v == v ? v : 0.0;
      v = v < kLowest ? kLowest : v > kHighest ? kHighest : v;
      const int32_t stored = int32_t((v + kRounder) - kRounder);
      at[l] = (stored & keep[l]) | (at[l] & ~keep[l]);
    }
  }
}

// Sample i of the backward results of a block, beyond the ends mirrored through the end
// sample, so that a straight line stays straight up to the edge.
[[gnu::always_inline]] inline Doubles Mirrored(SweepData& d, int64_t i, size_t b) {
  if (i < 0) return 2 * d.Ringed(0, b) - d.Ringed(-i, b);
  if (i >= d.rows) return 2 * d.Ringed(d.rows - 1, b) - d.Ringed(2 * (d.rows - 1) - i, b);
  return d.Ringed(i, b);
}

// The smoothed row t, once the backward sweep has passed t - half.
[[gnu::always_inline]] inline void SmoothRow(SweepData& d, int64_t t) {
  const int64_t h = d.half;
  const bool inside = t - h >= 0 && t + h < d.rows;
  for (size_t b = 0; b < d.blocks.size(); ++b) {
    Doubles sum = {};
    for (int64_t k = -h; k <= h; ++k)
      sum += d.smoothing[size_t(k + h)] * (inside ? d.Ringed(t + k, b) : Mirrored(d, t + k, b));
    std::memcpy(d.row.data() + b * kLanes, &sum, sizeof sum);
  }
  WriteRow(d, t);
}

VELMORA_WIDEST_VECTORS void BackwardRows(SweepData& d, int64_t to) {
  const size_t blocks = d.blocks.size();
  const bool smoothing = !d.smoothing.empty();
  if (d.backwardNext < 0) {
    d.backwardNext = d.rows - 1;
    for (size_t b = 0; b < blocks; ++b) Settle(d, b, Forwarded(d.At(d.rows - 1, b), d.keep[b].lanes));
  }
  if (!smoothing && !d.sections.empty() && d.sections.size() <= size_t(kMostHeldSections)) {
    if (d.backwardNext >= to) RunBlocks<false>(d, to, d.backwardNext + 1);
    d.backwardNext = std::min(d.backwardNext, to - 1);
    return;
  }
  for (int64_t r = d.backwardNext; r >= to; --r) {
    for (size_t b = 0; b < blocks; ++b) {
      const Doubles y = Through(d, b, Forwarded(d.At(r, b), d.keep[b].lanes));
      if (smoothing)
        d.Ringed(r, b) = y;
      else
        std::memcpy(d.row.data() + b * kLanes, &y, sizeof y);
    }
    if (!smoothing)
      WriteRow(d, r);
    else if (r + d.half < d.rows)
      SmoothRow(d, r + d.half);
  }
  d.backwardNext = std::min(d.backwardNext, to - 1);
  if (smoothing && to == 0)
    for (int64_t t = std::min(d.half, d.rows) - 1; t >= 0; --t) SmoothRow(d, t);
}

}  // namespace

struct FilterSweep::Lanes : SweepData {};

FilterSweep::FilterSweep(int32_t* store, int64_t rows, const std::vector<int>& blocks,
                         const std::vector<bool>& filtered, const std::vector<Biquad>& sections,
                         const std::vector<double>& smoothing)
    : lanes_(std::make_unique<Lanes>()) {
  SweepData& d = *lanes_;
  d.store = store;
  d.rows = rows;
  d.blocks = blocks;
  for (const int b : blocks) {
    Words keep = {};
    for (int l = 0; l < kLanes; ++l) keep[l] = filtered[size_t(b * kLanes + l)] ? -1 : 0;
    d.keep.push_back({keep});
  }
  d.sections = sections;
  d.states.resize(sections.size() * blocks.size());
  // A recording shorter than the smoothing window is left unsmoothed.
  d.half = int64_t(smoothing.size() / 2);
  if (!smoothing.empty() && rows > 2 * d.half) {
    d.smoothing = smoothing;
    d.ring.resize(size_t(2 * d.half + 1) * blocks.size());
  }
  d.row.resize(blocks.size() * kLanes);
}

FilterSweep::~FilterSweep() = default;

void FilterSweep::Forward(int64_t to) { ForwardRows(*lanes_, std::min(to, lanes_->rows)); }

void FilterSweep::Backward(int64_t to) { BackwardRows(*lanes_, std::max<int64_t>(to, 0)); }

}  // namespace velmora
