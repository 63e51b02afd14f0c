#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace velmora {

struct AnalysisState;

// The slow-wave detector for recordings as they come from the tissue: with drift, mains hum,
// noise, motion artifacts and electrodes that record nothing.
//
// 1. Fall transform. For each sample t, F(t) = S(t) - (w / W) L(t): S is the fall of the mean
//    over the w samples after t against the w before it, L the same over W = 5 w. A steep fall
//    (a slow wave's downstroke, about w long) gives F about 0.8 of its size; a baseline that
//    only bends over W (drift, the swing of a motion artifact) gives nearly nothing, since a
//    straight or evenly bending line gives S and (w / W) L alike; mains hum whose period divides
//    w (50 Hz at w = 20 ms) gives nothing. Beyond its ends the signal goes on as its ends'
//    mirror images turned over, so a sloping baseline stays straight there.
// 2. Noise. In blocks of one second the noise deviation of F is 1.4826 x the median of |F|
//    (taken every 2 w samples, about as often as F changes). The deviation at a time is the
//    median of the blocks' deviations within half the noise window either side, so neither a
//    slow wave nor an artifact moves it; it is at least 1 signal unit.
// 3. Activations. A local peak of F that stands more than `threshold` deviations out, whose
//    windows lie within the signal, and that is steep (the steady part (w / W) L is at most half
//    of S, whichever its sign: at the onset of a slow swing F stands out only by that part) is
//    a candidate; of candidates closer than the refractory period the strongest stays.
// 4. Time. The activation lies at the peak, refined between samples by the parabola through
//    the peak and its two neighbours, plus the time the store's own smoothing looks ahead
//    (AnalysisState::SignalLookAhead), rounded to a sample number: the mark sits where the
//    recorded signal falls fastest.
// 5. Quality. An electrode's quality is the median strength (F over the deviation) of its
//    activations, 0 without any; without activations or below `deadQuality` the electrode
//    is judged dead.
//
// The store is read once, row by row over all electrodes, and each sample is clipped once to
// the range within which the 32-bit window sums cannot overflow (+-21 million units at the
// default width at 1000 Hz); all work per sample is the same for every electrode and
// vectorises.
class RobustDetector {
 public:
  // From the state's RobustFallWidth, RobustThreshold, RobustRefractory, RobustNoiseWindow and
  // DeadQuality (SettingsOf).
  struct Settings {
    int32_t fallWidthMs = 0;     // w: the downstroke the transform looks for lasts about this long
    int32_t threshold = 0;       // noise deviations an activation stands out by
    int32_t refractoryMs = 0;    // an electrode activates at most once in this long
    int32_t noiseWindowMs = 0;   // the noise is measured over this long around each time
    int32_t deadQuality = 0;     // an electrode of lower quality is judged dead
    bool operator==(const Settings&) const = default;
  };
  struct Activation {
    int32_t time = 0;      // ms of the recording, from the fall's place between samples
    float strength = 0;    // the fall over the noise deviation there
  };
  // What the detector found on one electrode (channels 17..256, index channel - 17).
  struct Electrode {
    std::vector<Activation> activations;  // in time order, those of dead electrodes too
    double noise = 0;                     // the median of its noise deviations (signal units)
    double quality = 0;
    bool dead = false;
  };
  static constexpr int kExtraScale = 5;  // W = 5 w

  static Settings SettingsOf(const AnalysisState& state);
  // Samples of a span given in ms at the state's sampling frequency (1000 Hz when unknown), at least 1.
  static int32_t Samples(const AnalysisState& state, int32_t ms);

  // Runs over the whole signal of every electrode. Returns false, with `electrodes` left
  // undefined, when `cancelled` answers true (it is asked every 65,536 rows).
  static bool Run(const AnalysisState& state, const Settings& settings, std::vector<Electrode>& electrodes,
                  const std::function<bool()>& cancelled = {});
};

}  // namespace velmora
