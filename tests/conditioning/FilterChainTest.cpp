#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>
#include <string>
#include <vector>

#include "conditioning/FilterChain.h"
#include "conditioning/FilterRun.h"
#include "core/Limits.h"

namespace velmora {
namespace {

constexpr int kRate = 1000, kRows = 60000;
constexpr double kPi = std::numbers::pi;
const std::vector<int> kFalls = {5000, 17000, 29000, 41000, 53000};  // ms, where each downstroke is steepest

// Slow waves as the sample draws them: a fall of 2 mV, steepest at its time, and a slow recovery.
double Clean(int t) {
  double v = 0;
  for (const int at : kFalls) {
    const double d = t - at;
    const double fall = d < 0 ? 0.5 * std::exp(d / 3.0) : 1 - 0.5 * std::exp(-d / 3.0);
    v -= 2000 * fall * (d > 0 ? std::exp(-d / 4000.0) : 1.0);
  }
  return v;
}

// The amplitude of the component at `hz`, over the middle of the signal (whole cycles).
double Amplitude(const std::vector<double>& x, double hz) {
  std::complex<double> sum = 0;
  const int from = 10000, to = 50000;
  for (int t = from; t < to; ++t) sum += x[size_t(t)] * std::polar(1.0, -2 * kPi * hz * t / kRate);
  return 2 * std::abs(sum) / (to - from);
}

// Sample s where x(s + 2) - x(s - 2) is least within 50 ms of `near`.
int SteepestFall(const std::vector<double>& x, int near) {
  int best = near;
  for (int s = near - 50; s <= near + 50; ++s)
    if (x[size_t(s + 2)] - x[size_t(s - 2)] < x[size_t(best + 2)] - x[size_t(best - 2)]) best = s;
  return best;
}

struct Case {
  const char* text;
  double hz, amplitude;  // the disturbance added, a sine
  double leftShare;      // of it that may remain, beyond what the clean signal has there
};

// Each step takes out what it is for, and, run both ways, moves no downstroke: every fall
// stays at its sample.
TEST(FilterChainTest, EachStepRemovesItsDisturbanceAndMovesNoActivation) {
  const std::vector<Case> cases = {
      {"notch:50:3", 50, 300, 0.02},  {"notch:50:3", 150, 100, 0.02}, {"notch:60:1", 60, 300, 0.02},
      {"baseline:60", 0.005, 3000, 0.1}, {"lowpass:40", 200, 300, 0.02}, {"sg:21:2", 250, 300, 0.1},
  };
  std::vector<double> clean(kRows);
  for (int t = 0; t < kRows; ++t) clean[size_t(t)] = Clean(t);
  for (const Case& c : cases) {
    FilterChain chain;
    ASSERT_FALSE(FilterChain::Parse(c.text, chain)) << c.text;
    std::vector<int32_t> store(size_t(kRows) * kChannels, 0);
    for (int t = 0; t < kRows; ++t)
      store[size_t(t) * kChannels + 20] =
          int32_t(std::lround(clean[size_t(t)] + c.amplitude * std::sin(2 * kPi * c.hz * t / kRate)));
    ASSERT_TRUE(FilterRun::Apply(store.data(), kRows, {20}, FilterRun::Make(chain, kRate), [](double) { return true; }));
    std::vector<double> out(kRows);
    for (int t = 0; t < kRows; ++t) out[size_t(t)] = store[size_t(t) * kChannels + 20];
    EXPECT_LE(Amplitude(out, c.hz), Amplitude(clean, c.hz) + c.leftShare * c.amplitude) << c.text << " at " << c.hz;
    for (const int at : kFalls) EXPECT_NEAR(SteepestFall(out, at), at, 1) << c.text << " fall at " << at;
    EXPECT_EQ(store[size_t(kRows / 2) * kChannels + 21], 0) << c.text << ": another channel was touched";
  }
}

TEST(FilterChainTest, SpecsReadBackAsWrittenAndBadStepsAreNamed) {
  FilterChain chain;
  ASSERT_FALSE(FilterChain::Parse("lowpass:30,notch:60:2,sg:25:3,baseline:120", chain));
  EXPECT_EQ(chain.Text(), "notch:60:2,baseline:120,lowpass:30,sg:25:3");
  ASSERT_FALSE(FilterChain::Parse("none", chain));
  EXPECT_FALSE(chain.Any());
  for (const char* bad : {"notch:55", "baseline:0", "lowpass", "sg:25:9", "highpass:3", "notch:50,"}) {
    const auto problem = FilterChain::Parse(bad, chain);
    ASSERT_TRUE(problem) << bad;
    EXPECT_NE(problem->find('"'), std::string::npos) << *problem;
  }
}

}  // namespace
}  // namespace velmora
