#include "input/SampleImpairments.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <stdexcept>

#include <fmt/format.h>

#include "input/SampleRandom.h"
#include "input/SampleRecording.h"

namespace velmora {

namespace {

constexpr double kMsPerMinute = 60000;
constexpr double kMostMainsHz = SampleRecording::kSamplingHz / 2.0;
constexpr double kLeastDriftHz = 0.001, kMostDriftHz = 10;
constexpr double kArtifactReach = 10;  // an artifact is over this many peak times after its start

void Require(bool ok, const std::string& problem) {
  if (!ok) throw std::invalid_argument(problem);
}

bool Within(double value, double low, double high) { return std::isfinite(value) && value >= low && value <= high; }

// Adds amplitude x sin(2 pi hz k / 1000 + phase) to every element k. The sinusoid turns by a
// fixed rotation per sample instead of a sine per sample: an hour of 256 channels stays quick.
void AddSinusoid(std::vector<double>& signal, double amplitude, double hz, double phase) {
  const double step = 2 * std::numbers::pi * hz / SampleRecording::kSamplingHz;
  const double turnCos = std::cos(step), turnSin = std::sin(step);
  double c = std::cos(phase), s = std::sin(phase);
  for (double& value : signal) {
    value += amplitude * s;
    const double nextC = c * turnCos - s * turnSin;
    s = s * turnCos + c * turnSin;
    c = nextC;
  }
}

// The artifact's course: 0 at its start, 1 at u = 1 (the peak), then back towards 0 without
// a corner anywhere.
double ArtifactShape(double u) { return u <= 0 ? 0.0 : u * u * std::exp(2.0 * (1.0 - u)); }

void AddArtifact(std::vector<double>& signal, const MotionArtifact& a, double share) {
  const double amplitude = share * a.amplitudeUv * SampleImpairments::kUnitsPerMicrovolt;
  const auto first = size_t(std::max(0.0, std::ceil(a.startMs)));
  const auto end = size_t(std::min(double(signal.size()), a.startMs + kArtifactReach * a.peakAfterMs));
  for (size_t k = first; k < end; ++k) signal[k] += amplitude * ArtifactShape((double(k) - a.startMs) / a.peakAfterMs);
}

std::string Number(double value) { return fmt::format("{}", value); }

}  // namespace

void SampleImpairments::Check(const SignalImpairments& i) {
  Require(Within(i.noiseUv, 0, kMostNoiseUv), fmt::format("a noise of {} uV is outside 0..{} uV", i.noiseUv, kMostNoiseUv));
  Require(Within(i.mainsUv, 0, kMostMainsUv), fmt::format("a mains hum of {} uV is outside 0..{} uV", i.mainsUv, kMostMainsUv));
  Require(Within(i.mainsHz, 1, kMostMainsHz) && i.mainsHz < kMostMainsHz,
          fmt::format("a mains frequency of {} Hz is outside 1..{} Hz (below half the sampling rate)", i.mainsHz,
                      kMostMainsHz));
  Require(Within(i.driftUv, 0, kMostDriftUv), fmt::format("a drift of {} uV is outside 0..{} uV", i.driftUv, kMostDriftUv));
  Require(Within(i.driftHz, kLeastDriftHz, kMostDriftHz),
          fmt::format("a drift frequency of {} Hz is outside {}..{} Hz", i.driftHz, kLeastDriftHz, kMostDriftHz));
  Require(Within(i.artifactsPerMinute, 0, kMostArtifactsPerMinute),
          fmt::format("{} artifacts a minute are outside 0..{}", i.artifactsPerMinute, kMostArtifactsPerMinute));
}

bool SampleImpairments::Any(const SignalImpairments& i) {
  return i.noiseUv > 0 || i.mainsUv > 0 || i.driftUv > 0 || i.artifactsPerMinute > 0;
}

std::vector<MotionArtifact> SampleImpairments::Artifacts(const SampleSettings& s) {
  const double lengthMs = double(SampleRecording::StoreRows(s));
  const auto count = std::llround(s.impairments.artifactsPerMinute * lengthMs / kMsPerMinute);
  SampleRandom random = SampleRandom::For(s.seed, 0, SampleRandom::kArtifactStream);
  std::vector<MotionArtifact> artifacts;
  for (long long n = 0; n < count; ++n) {
    MotionArtifact a;
    a.startMs = random.Between(0, lengthMs);
    a.peakAfterMs = random.Between(200, 500);
    a.amplitudeUv = random.Between(2000, 6000) * (random.Uniform() < 0.5 ? -1 : 1);
    artifacts.push_back(a);
  }
  std::sort(artifacts.begin(), artifacts.end(), [](const auto& a, const auto& b) { return a.startMs < b.startMs; });
  return artifacts;
}

double SampleImpairments::NoiseSd(const SampleSettings& s, double ownSd) {
  return s.impairments.noiseUv > 0 ? s.impairments.noiseUv * kUnitsPerMicrovolt : ownSd;
}

void SampleImpairments::Add(const SampleSettings& s, int channel, std::vector<double>& signal) {
  const SignalImpairments& i = s.impairments;
  if (i.mainsUv > 0) {
    SampleRandom random = SampleRandom::For(s.seed, channel, SampleRandom::kMainsStream);
    const double amplitude = i.mainsUv * kUnitsPerMicrovolt * random.Between(0.6, 1.0);
    AddSinusoid(signal, amplitude, i.mainsHz, random.Between(-0.3, 0.3));
  }
  if (i.driftUv > 0) {
    SampleRandom random = SampleRandom::For(s.seed, channel, SampleRandom::kDriftStream);
    const double hz = i.driftHz * random.Between(0.8, 1.2);
    AddSinusoid(signal, i.driftUv * kUnitsPerMicrovolt, hz, random.Between(0, 2 * std::numbers::pi));
  }
  if (i.artifactsPerMinute > 0) {
    SampleRandom random = SampleRandom::For(s.seed, channel, SampleRandom::kArtifactStream);
    for (const MotionArtifact& a : Artifacts(s)) AddArtifact(signal, a, random.Between(0.3, 1.0));
  }
}

std::string SampleImpairments::TruthLines(const SampleSettings& s) {
  const SignalImpairments& i = s.impairments;
  if (!Any(i)) return "";
  const std::string noise = i.noiseUv > 0 ? fmt::format("noise SD {} uV", Number(i.noiseUv)) : "the electrodes' own noise";
  std::string text = fmt::format("# impairments: {}, mains {} uV at {} Hz, drift {} uV at {} Hz, {} artifacts a minute\n",
                                 noise, Number(i.mainsUv), Number(i.mainsHz), Number(i.driftUv), Number(i.driftHz),
                                 Number(i.artifactsPerMinute));
  const std::vector<MotionArtifact> artifacts = Artifacts(s);
  if (artifacts.empty()) return text;
  text += "# artifacts (start ms, peak ms, uV):";
  for (const MotionArtifact& a : artifacts)
    text += fmt::format(" {:.0f} {:.0f} {:.0f}", a.startMs, a.startMs + a.peakAfterMs, a.amplitudeUv);
  return text + "\n";
}

}  // namespace velmora
