#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "input/SampleImpairments.h"

namespace velmora {

// What a generated recording looks like. The defaults give one minute of a 16 x 15 grid
// with 4 mm spacing and slow waves of 3 per minute running along the columns at 8 mm/s.
struct SampleSettings {
  uint32_t seed = 1;
  double seconds = 60;        // store rows = round(seconds x 1000), 1 .. 3,600,000
  int cols = 16, rows = 15;   // cols x rows <= 240, each at most 100
  double spacingMm = 4.0;     // between neighbouring electrodes
  double speedMmPerS = 8.0;   // propagation speed of the slow waves
  double directionDeg = 0;    // counter-clockwise as the map's arrows: 0 towards increasing
                              // column, 90 up the screen (towards decreasing row)
  double periodS = 20;        // time between successive waves
  // Planar fronts run in `directionDeg`; radial ones spread from a point source.
  enum class Front { Planar, Radial };
  Front front = Front::Planar;
  double jitterMs = 0;        // SD of the random timing noise of each activation, 0 .. 20
  int deadElectrodes = 3;     // electrodes without activations (none on grids under 9 cells)
  SignalImpairments impairments;  // noise, mains, drift and motion artifacts added to every channel
};

// One electrode activation: where the wave's downstroke falls fastest.
//
// Time base: `timeMs` is a sample number as the marks count them, which at 1000 Hz is ms from
// the start of the recording. Sample number t lives in store row t - 1 (row r holds sample
// r + 1), which E00Reader fills from its frame t - 1, i.e. file record HeaderFrames + t, i.e.
// frame t after the header records (the reader skips frame 0 after the header). The raw value
// of frame t after the header is the signal at t ms.
struct Activation {
  int channel = 0;       // 17 .. 256
  int col = 0, row = 0;  // 1-based grid position
  int wave = 0;          // 0, 1, ...
  int32_t timeMs = 0;
  double exactMs = 0;    // where the front is, before timing noise and rounding
};

// The two files a generated sample consists of.
struct SampleFiles {
  std::string recording;  // DIR/sample.E00
  std::string matrix;     // DIR/sample-matrix.txt
  std::string truth;      // DIR/sample-truth.txt: the true times, speeds and directions
};

// Generates deterministic gastric recordings for trying and checking the workbench: 256
// channels at 1000 Hz in the E00 layout, with the matching new-format matrix file. The same
// settings always give the same bytes.
//
// Channel layout: the electrodes are channels 17, 18, ... placed row by row on the grid
// (channel = 17 + (row - 1) x cols + (col - 1)); channels 1..16 and the channels beyond the
// grid carry small noise around 0. Every electrode has its own baseline, noise level and
// wave amplitude. `deadElectrodes` electrodes chosen by the seed (none for grids under 9
// cells) are dead: baseline and noise only, and they have no activations.
//
// Slow wave w reaches the electrode at (col, row) at
//   firstWaveMs + w x period + ((col - 1) cos(direction) - (row - 1) sin(direction)) x spacing / speed,
// rounded to whole ms, where firstWaveMs puts the earliest activation of wave 0 at 2000 ms
// (a radial front: firstWaveMs + w x period + distance from the source / speed; see
// SampleFront). With `jitterMs` each activation moves by Gaussian noise of that SD, cut at
// three SDs, before it is rounded.
// A wave is kept only when all its activations are at least 100 ms before the last sample,
// so each one has its whole downstroke in the store.
//
// Each activation is a downstroke whose slope is a sharp peak at the activation sample, so
// the raw signal falls fastest there: without noise the most negative centred difference
// v(t + h) - v(t - h) lies exactly at the activation for every small h, and with the noise
// added the minimum of v(t + 2) - v(t - 2) stays within 2 samples of it. A small positive
// hump 50 ms ahead of the fall and a recovery over 1-3 s complete the wave. The settings'
// impairments (SampleImpairments) then add what real recordings carry besides: stronger noise,
// mains hum, baseline drift and motion artifacts.
class SampleRecording {
 public:
  static constexpr int kSamplingHz = 1000;
  static constexpr int kHeaderBytes = 4096;
  static constexpr double kMostJitterMs = 20;
  // An hour at most: the file is made in memory before it is written.
  static constexpr int kLongestSampleRows = 3600 * kSamplingHz;

  // Rows the E00 reader fills from the generated file: round(seconds x 1000).
  static int StoreRows(const SampleSettings& settings);
  // Frame records after the header: the store rows plus 20, as the reader fills 20 rows
  // fewer than there are frames after the header (it skips frame 0, and the 20-sample mean
  // of the last row looks ahead to the last frame).
  static int64_t FramesAfterHeader(const SampleSettings& settings);
  // Throws std::invalid_argument naming the first setting out of range.
  static void Check(const SampleSettings& settings);

  // Every activation of the live electrodes, wave by wave, channels ascending within a wave.
  static std::vector<Activation> ActivationTimes(const SampleSettings& settings);
  // The dead electrodes' channels, ascending.
  static std::vector<int> DeadChannels(const SampleSettings& settings);

  // Channel `channel`'s signal (1 .. 256), noise and impairments included, before the E00 file rounds it to
  // 16 bits: element k is the signal at k ms, one element per frame after the header.
  static std::vector<double> ChannelSignal(const SampleSettings& settings, int channel);

  // The bytes of the E00 recording and the text of the matrix file.
  static std::string RecordingBytes(const SampleSettings& settings);
  static std::string MatrixText(const SampleSettings& settings);

  // Writes `folder`/sample.E00 and `folder`/sample-matrix.txt, creating the folder when it
  // is missing. Throws std::invalid_argument on bad settings and IoError when writing fails.
  static SampleFiles Write(const SampleSettings& settings, const std::string& folder);
};

}  // namespace velmora
