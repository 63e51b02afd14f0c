#pragma once

#include <cmath>
#include <cstdint>
#include <numbers>

namespace velmora {

// The random numbers of generated recordings. splitmix64: tiny, fast and defined bit for bit,
// so a seed gives the same recording with every compiler and standard library. Each channel
// draws each part of its signal (shape, noise, ...) from a stream of its own, so changing how
// one part is drawn leaves the others as they were.
class SampleRandom {
 public:
  // The streams of a channel (under 256 each).
  enum Stream : uint64_t {
    kShapeStream = 1,
    kNoiseStream = 2,
    kDeadStream = 3,
    kJitterStream = 4,
    kMainsStream = 5,
    kDriftStream = 6,
    kArtifactStream = 7,
    kPatternStream = 8,  // per wave rather than per channel
  };

  explicit SampleRandom(uint64_t state) : state_(Mix(state)) {}
  static SampleRandom For(uint32_t seed, int channel, uint64_t stream) {
    return SampleRandom((uint64_t(seed) << 32) ^ (uint64_t(channel) << 8) ^ stream);
  }

  uint64_t Next() {
    state_ += 0x9E3779B97F4A7C15ULL;
    return Mix(state_);
  }
  double Uniform() { return double(Next() >> 11) * 0x1.0p-53; }  // [0, 1)
  double Between(double low, double high) { return low + (high - low) * Uniform(); }
  // Box-Muller by hand: the standard distributions are not the same in every library.
  double Gaussian() {
    if (hasSpare_) {
      hasSpare_ = false;
      return spare_;
    }
    const double radius = std::sqrt(-2.0 * std::log(1.0 - Uniform()));
    const double angle = 2.0 * std::numbers::pi * Uniform();
    spare_ = radius * std::sin(angle);
    hasSpare_ = true;
    return radius * std::cos(angle);
  }

 private:
  static uint64_t Mix(uint64_t z) {
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }

  uint64_t state_;
  double spare_ = 0;
  bool hasSpare_ = false;
};

}  // namespace velmora
