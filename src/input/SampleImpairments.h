#pragma once

#include <string>
#include <vector>

namespace velmora {

struct SampleSettings;

// What spoils a real recording, to be added to a generated one. Levels are in microvolts of
// the recorded signal (747 signal units make 1 mV, as everywhere in the workbench). Nothing is
// added while every level is 0, so a recording without impairments stays as it always was.
struct SignalImpairments {
  double noiseUv = 0;      // SD of the white noise on every channel, in place of its own (0: its own)
  double mainsUv = 0;      // amplitude of the mains hum
  double mainsHz = 50;
  double driftUv = 0;      // amplitude of the baseline wander
  double driftHz = 0.05;
  double artifactsPerMinute = 0;  // large, slow motion transients on all channels
};

// One motion artifact: the whole tissue moves, and every channel's baseline swings out and
// back, by its own share of `amplitudeUv`, the same way on all of them.
struct MotionArtifact {
  double startMs = 0;
  double peakAfterMs = 0;   // from the start to the largest swing
  double amplitudeUv = 0;   // signed
};

// Adds the impairments to the signal of a generated recording before it is written in any
// format, so that every format carries the same impaired signal.
//
// - Noise: white Gaussian noise of `noiseUv` SD on every channel instead of the electrode's own
//   13-27 uV.
// - Mains: a sinusoid of `mainsHz`; each channel picks it up with 60-100 % of `mainsUv` and a
//   phase within 0.3 rad of the others.
// - Drift: a sinusoid of `driftUv` at `driftHz` (each channel within 20 % of that frequency)
//   with a phase of its own.
// - Artifacts: round(`artifactsPerMinute` x minutes) transients at random times; each swings
//   by 2-6 mV (up or down), peaks 200-500 ms after it starts and returns over a few times
//   that; each channel carries 30-100 % of it.
class SampleImpairments {
 public:
  static constexpr double kUnitsPerMicrovolt = 0.747;
  static constexpr double kMostNoiseUv = 5000, kMostMainsUv = 20000, kMostDriftUv = 20000;
  static constexpr double kMostArtifactsPerMinute = 60;

  // Throws std::invalid_argument naming the first level out of range.
  static void Check(const SignalImpairments& impairments);
  static bool Any(const SignalImpairments& impairments);

  // The artifacts of a recording, in time order.
  static std::vector<MotionArtifact> Artifacts(const SampleSettings& settings);
  // The noise SD in signal units of a channel whose own is `ownSd`.
  static double NoiseSd(const SampleSettings& settings, double ownSd);
  // Adds mains, drift and artifacts to channel `channel`'s signal, element k the signal at k ms.
  static void Add(const SampleSettings& settings, int channel, std::vector<double>& signal);
  // Lines for the truth file ("# impairments: ...", "# artifacts at ms: ..."), each ended by
  // a line feed; nothing without impairments.
  static std::string TruthLines(const SampleSettings& settings);
};

}  // namespace velmora
