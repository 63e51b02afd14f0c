#include "input/SampleRecording.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <numbers>
#include <optional>
#include <stdexcept>
#include <system_error>

#include <fmt/format.h>

#include "core/AtomicFile.h"
#include "core/Errors.h"
#include "core/Limits.h"
#include "input/SampleFront.h"
#include "input/SampleImpairments.h"
#include "input/SampleRandom.h"

namespace velmora {

namespace {

constexpr int kFileChannels = kChannels;
constexpr int kMaxElectrodes = kChannels - kFirstElectrode + 1;  // 240
constexpr double kFirstActivationMs = 2000;
constexpr int kTailMs = 100;  // a kept wave's last activation is this far before the end

// How one electrode's slow waves look. The downstroke is a mix of two falls whose slopes are
// symmetric peaks around the activation: a sharp core (carrying most of the amplitude), which
// pins the steepest point to the activation sample, and a broader fall around it.
struct WaveShape {
  double baseline = 0, noiseSd = 5;
  double amplitude = 0;                 // total fall
  double coreTau = 1.5, broadTau = 15;  // ms, of the two falls
  double coreShare = 0.6;
  double recoveryTau = 800;             // ms
  double hump = 0;                      // height of the rise 50 ms ahead of the fall
};

WaveShape ElectrodeShape(uint32_t seed, int channel) {
  SampleRandom random = SampleRandom::For(seed, channel, SampleRandom::kShapeStream);
  WaveShape shape;
  shape.baseline = random.Between(-2000, 2000);
  shape.noiseSd = random.Between(10, 20);
  shape.amplitude = random.Between(800, 2500);
  shape.coreTau = random.Between(1.0, 2.0);
  shape.broadTau = random.Between(12, 20);
  shape.recoveryTau = random.Between(600, 1000);
  shape.hump = shape.amplitude * random.Between(0.1, 0.2);
  return shape;
}

WaveShape QuietShape(uint32_t seed, int channel) {
  SampleRandom random = SampleRandom::For(seed, channel, SampleRandom::kShapeStream);
  WaveShape shape;
  shape.noiseSd = random.Between(3, 6);
  return shape;
}

// Fraction of a fall with time constant tau completed d ms after its steepest point.
double FallDone(double d, double tau) { return d < 0 ? 0.5 * std::exp(d / tau) : 1.0 - 0.5 * std::exp(-d / tau); }

// The wave's contribution d ms after the activation.
double WaveValue(const WaveShape& s, double d) {
  const double fall = s.coreShare * FallDone(d, s.coreTau) + (1 - s.coreShare) * FallDone(d, s.broadTau);
  const double recovery = d > 0 ? std::exp(-d / s.recoveryTau) : 1.0;
  const double humpOffset = (d + 50) / 25;
  return -s.amplitude * fall * recovery + s.hump * std::exp(-humpOffset * humpOffset);
}

int ChannelAt(const SampleSettings& s, int col, int row) { return kFirstElectrode + (row - 1) * s.cols + (col - 1); }

// How long after its first activation a wave has reached every electrode, at most.
double LongestWaveMs(const SampleSettings& s, const std::vector<double>& offsets) {
  if (s.pattern == SamplePatterns::Choice::None) return *std::max_element(offsets.begin(), offsets.end());
  // A pattern's front may start anywhere: no electrode is farther than the diagonal.
  return std::hypot(s.cols - 1, s.rows - 1) * s.spacingMm / s.speedMmPerS * 1000.0;
}

// The waves whose every activation, noise included, lies in the recording.
int WaveCount(const SampleSettings& s, double longestMs) {
  const int64_t lastSample = SampleRecording::StoreRows(s);
  int waves = 0;
  // The noise is cut at three SDs, which the tail keeps inside the recording.
  while (std::llround(kFirstActivationMs + waves * s.periodS * 1000.0 + longestMs + 3 * s.jitterMs) + kTailMs <=
         lastSample)
    ++waves;
  return waves;
}

// Activations of all grid electrodes, dead ones included.
std::vector<Activation> AllActivations(const SampleSettings& s) {
  const std::vector<double> planar = SampleFront::CellOffsets(s);
  const int waves = WaveCount(s, LongestWaveMs(s, planar));
  SampleRandom jitter = SampleRandom::For(s.seed, 0, SampleRandom::kJitterStream);
  std::vector<Activation> activations;
  for (int wave = 0; wave < waves; ++wave) {
    const double start = kFirstActivationMs + wave * s.periodS * 1000.0;
    std::vector<std::optional<double>> offsets(planar.begin(), planar.end());
    if (s.pattern != SamplePatterns::Choice::None) offsets = SamplePatterns::WaveOffsets(s, wave, waves);
    for (int row = 1; row <= s.rows; ++row) {
      for (int col = 1; col <= s.cols; ++col) {
        const std::optional<double> offset = offsets[size_t(row - 1) * size_t(s.cols) + size_t(col - 1)];
        const double noise = s.jitterMs > 0 ? std::clamp(jitter.Gaussian(), -3.0, 3.0) * s.jitterMs : 0.0;
        if (!offset) continue;  // silent in this wave
        const double exact = start + *offset;
        activations.push_back({ChannelAt(s, col, row), col, row, wave, int32_t(std::llround(exact + noise)), exact});
      }
    }
  }
  return activations;
}

std::vector<double> WaveTrace(const SampleSettings& s, const WaveShape& shape, const std::vector<int32_t>& times) {
  const int64_t frames = SampleRecording::FramesAfterHeader(s);
  std::vector<double> trace(size_t(frames), shape.baseline);
  const int64_t reach = int64_t(std::ceil(shape.recoveryTau * 10));  // the recovery is complete by then
  for (const int32_t t : times) {
    const int64_t from = std::max<int64_t>(0, t - 200), to = std::min<int64_t>(frames, t + reach);
    for (int64_t k = from; k < to; ++k) trace[size_t(k)] += WaveValue(shape, double(k - t));
  }
  return trace;
}

int16_t ToSample(double value) {
  return int16_t(std::clamp<long long>(std::llround(value), INT16_MIN, INT16_MAX));
}

void PutWord(std::string& bytes, size_t offset, int16_t value) {
  const auto bits = uint16_t(value);
  bytes[offset] = char(bits & 0xFF);
  bytes[offset + 1] = char(bits >> 8);
}

std::string Header() {
  std::string header(size_t(SampleRecording::kHeaderBytes), '\0');
  header[0] = char(0xFF);
  header[1] = char(0xFF);
  PutWord(header, 2, int16_t(SampleRecording::kHeaderBytes));
  PutWord(header, 86, int16_t(kFileChannels));
  PutWord(header, 88, 2);
  return header;
}

// Channel `channel`'s signal with its noise at every frame; `times` are its activations.
std::vector<double> NoisySignal(const SampleSettings& s, int channel, const std::vector<int32_t>& times) {
  const int lastElectrode = kFirstElectrode + s.cols * s.rows - 1;
  const bool onGrid = channel >= kFirstElectrode && channel <= lastElectrode;
  const WaveShape shape = onGrid ? ElectrodeShape(s.seed, channel) : QuietShape(s.seed, channel);
  // A dead electrode keeps its baseline and noise: it has no activation times.
  std::vector<double> signal = WaveTrace(s, shape, times);
  SampleRandom noise = SampleRandom::For(s.seed, channel, SampleRandom::kNoiseStream);
  const double noiseSd = SampleImpairments::NoiseSd(s, shape.noiseSd);
  for (double& value : signal) value += noiseSd * noise.Gaussian();
  SampleImpairments::Add(s, channel, signal);
  return signal;
}

// Puts channel `channel`'s signal into every frame of the recording.
void PutChannel(std::string& bytes, int channel, const std::vector<double>& signal) {
  const size_t frameBytes = size_t(kFileChannels) * 2;
  size_t offset = size_t(SampleRecording::kHeaderBytes) + size_t(channel - 1) * 2;
  for (const double value : signal) {
    PutWord(bytes, offset, ToSample(value));
    offset += frameBytes;
  }
}

std::string DistanceText(double mm) {
  std::string text = fmt::format("{}", mm);
  if (text.find_first_of(".e") == std::string::npos) text += ".0";
  return text;
}

void Require(bool ok, const std::string& problem) {
  if (!ok) throw std::invalid_argument(problem);
}

}  // namespace

int SampleRecording::StoreRows(const SampleSettings& s) {
  Check(s);
  return int(std::llround(s.seconds * kSamplingHz));
}

int64_t SampleRecording::FramesAfterHeader(const SampleSettings& s) { return int64_t(StoreRows(s)) + kSmoothingWidth; }

void SampleRecording::Check(const SampleSettings& s) {
  const double maxSeconds = double(kLongestSampleRows) / kSamplingHz;
  Require(std::isfinite(s.seconds) && std::llround(s.seconds * kSamplingHz) >= 1 && s.seconds <= maxSeconds,
          fmt::format("a length of {} s is outside 0.001 .. {} s (an hour at most)", s.seconds,
                      maxSeconds));
  Require(s.cols >= 1 && s.rows >= 1 && s.cols <= kMaxGridCols && s.rows <= kMaxGridRows,
          fmt::format("a grid of {} x {} is outside 1..{} columns and 1..{} rows", s.cols, s.rows, kMaxGridCols,
                      kMaxGridRows));
  Require(s.cols * s.rows <= kMaxElectrodes,
          fmt::format("a grid of {} x {} has {} cells; at most {} electrodes (channels {}..{}) fit", s.cols, s.rows,
                      s.cols * s.rows, kMaxElectrodes, kFirstElectrode, kChannels));
  Require(std::isfinite(s.spacingMm) && s.spacingMm > 0 && s.spacingMm <= 100,
          fmt::format("an electrode spacing of {} mm is outside 0..100 mm", s.spacingMm));
  Require(std::isfinite(s.speedMmPerS) && s.speedMmPerS > 0,
          fmt::format("a propagation speed of {} mm/s is not above 0", s.speedMmPerS));
  Require(std::isfinite(s.directionDeg), "the propagation direction is not a number");
  Require(std::isfinite(s.periodS) && s.periodS > 0, fmt::format("a wave period of {} s is not above 0", s.periodS));
  Require(std::isfinite(s.jitterMs) && s.jitterMs >= 0 && s.jitterMs <= kMostJitterMs,
          fmt::format("a timing noise of {} ms is outside 0..{} ms", s.jitterMs, kMostJitterMs));
  SampleImpairments::Check(s.impairments);
  SamplePatterns::Check(s);
  Require(s.deadElectrodes >= 0 && s.deadElectrodes <= s.cols * s.rows / 2,
          fmt::format("{} dead electrodes are outside 0..{} (half the grid)", s.deadElectrodes, s.cols * s.rows / 2));
}

std::vector<int> SampleRecording::DeadChannels(const SampleSettings& s) {
  Check(s);
  const int cells = s.cols * s.rows;
  if (cells < 9) return {};
  std::vector<int> channels(static_cast<size_t>(cells));
  for (int n = 0; n < cells; ++n) channels[size_t(n)] = kFirstElectrode + n;
  // The first steps of a Fisher-Yates shuffle pick distinct electrodes.
  SampleRandom random = SampleRandom::For(s.seed, 0, SampleRandom::kDeadStream);
  for (int n = 0; n < s.deadElectrodes; ++n) {
    const int pick = n + int(random.Next() % uint64_t(cells - n));
    std::swap(channels[size_t(n)], channels[size_t(pick)]);
  }
  channels.resize(size_t(s.deadElectrodes));
  std::sort(channels.begin(), channels.end());
  return channels;
}

std::vector<Activation> SampleRecording::ActivationTimes(const SampleSettings& s) {
  const std::vector<int> dead = DeadChannels(s);
  std::vector<Activation> activations = AllActivations(s);
  std::erase_if(activations, [&](const Activation& a) { return std::binary_search(dead.begin(), dead.end(), a.channel); });
  return activations;
}

std::string SampleRecording::RecordingBytes(const SampleSettings& s) {
  const int64_t frames = FramesAfterHeader(s);
  std::string bytes = Header();
  bytes.resize(size_t(kHeaderBytes) + size_t(frames) * kFileChannels * 2, '\0');
  std::vector<std::vector<int32_t>> times(size_t(kFileChannels) + 1);
  for (const Activation& a : ActivationTimes(s)) times[size_t(a.channel)].push_back(a.timeMs);
  for (int channel = 1; channel <= kFileChannels; ++channel)
    PutChannel(bytes, channel, NoisySignal(s, channel, times[size_t(channel)]));
  return bytes;
}

std::vector<double> SampleRecording::ChannelSignal(const SampleSettings& s, int channel) {
  if (channel < 1 || channel > kFileChannels)
    throw std::invalid_argument(fmt::format("channel {} is outside 1..{}", channel, kFileChannels));
  std::vector<int32_t> times;
  for (const Activation& a : ActivationTimes(s))
    if (a.channel == channel) times.push_back(a.timeMs);
  return NoisySignal(s, channel, times);
}

std::string SampleRecording::MatrixText(const SampleSettings& s) {
  Check(s);
  const int cells = s.cols * s.rows;
  const std::string distance = DistanceText(s.spacingMm);
  std::string text = fmt::format("-2\n{} {} {} {}\n", cells, s.cols, s.rows, distance);
  text += fmt::format("Sample grid: {} columns x {} rows, {} mm spacing, channels {}..{} row by row\n", s.cols, s.rows,
                      distance, kFirstElectrode, kFirstElectrode + cells - 1);
  for (int row = 1; row <= s.rows; ++row) {
    for (int col = 1; col <= s.cols; ++col) text += fmt::format("{}{}", col > 1 ? " " : "", ChannelAt(s, col, row));
    text += '\n';
  }
  return text;
}

SampleFiles SampleRecording::Write(const SampleSettings& s, const std::string& folder) {
  Check(s);
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error) throw IoError(folder, "the folder cannot be created: " + error.message());
  SampleFiles files{(std::filesystem::path(folder) / "sample.E00").string(),
                    (std::filesystem::path(folder) / "sample-matrix.txt").string(),
                    (std::filesystem::path(folder) / "sample-truth.txt").string()};
  WriteFileAtomically(files.recording, RecordingBytes(s));
  WriteFileAtomically(files.matrix, MatrixText(s));
  WriteFileAtomically(files.truth, SampleFront::TruthText(s, ActivationTimes(s), DeadChannels(s)));
  return files;
}

}  // namespace velmora
