#include "input/SampleRecording.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <set>
#include <stdexcept>

#include "core/AnalysisState.h"
#include "core/DataRoot.h"
#include "input/E00Reader.h"
#include "input/MatrixFile.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"

namespace velmora {
namespace {

using testing::ReadFile;
using testing::ScriptedUi;
using testing::TempDir;

// A generated recording opened the way the workbench opens it, raw, into a fresh state.
struct OpenedSample {
  explicit OpenedSample(const SampleSettings& settings) : root(dir.File("root")) {
    files = SampleRecording::Write(settings, dir.File("sample"));
    state->SmoothElectrograms = false;
    state->DefaultMatrixFileName = files.matrix;
    E00Reader reader(*state, ui, root);
    reader.Open(files.recording, RecordingOpenOptions{false, false});
    rowsToFill = reader.RowsToFill();
  }

  // The value of channel `channel` at sample number `sample` (row sample - 1).
  int32_t At(int channel, int sample) const { return state->Signal(sample - 1, channel - 1); }
  // The fall over 4 samples centred on `sample`.
  int32_t Fall(int channel, int sample) const { return At(channel, sample + 2) - At(channel, sample - 2); }
  // The sample in [from, to] where the signal falls most over 4 samples; the earliest on ties.
  int SteepestFall(int channel, int from, int to) const {
    int best = from;
    for (int t = from; t <= to; ++t)
      if (Fall(channel, t) < Fall(channel, best)) best = t;
    return best;
  }

  TempDir dir;
  DataRoot root;
  SampleFiles files;
  std::unique_ptr<AnalysisState> state = std::make_unique<AnalysisState>();
  ScriptedUi ui;
  int rowsToFill = 0;
};

SampleSettings Short(uint32_t seed = 1, double seconds = 30) {
  SampleSettings settings;
  settings.seed = seed;
  settings.seconds = seconds;
  return settings;
}

TEST(SampleRecordingTest, OpensWithTheReaderAndFillsOneRowPerMillisecond) {
  OpenedSample sample(Short(1, 12.5));
  EXPECT_EQ(sample.state->NrChannelsInFile, 256);
  EXPECT_EQ(sample.state->BytesPerSample, 2);
  EXPECT_EQ(sample.state->HeaderFrames, 8);
  EXPECT_EQ(sample.state->NrOfFramesinFile, 12520);
  EXPECT_EQ(sample.rowsToFill, 12500);
  EXPECT_EQ(sample.state->SigLength, 12500);
  EXPECT_TRUE(sample.ui.messages.empty());
  EXPECT_TRUE(sample.ui.errors.empty());
  EXPECT_EQ(SampleRecording::StoreRows(Short(1, 12.5)), 12500);
  EXPECT_EQ(SampleRecording::FramesAfterHeader(Short(1, 12.5)), 12520);
}

TEST(SampleRecordingTest, FileHasTheHeaderAndOneFramePerSample) {
  const std::string bytes = SampleRecording::RecordingBytes(Short(3, 2));
  ASSERT_EQ(bytes.size(), 4096u + 2020u * 512u);
  EXPECT_EQ(uint8_t(bytes[0]), 255);
  EXPECT_EQ(uint8_t(bytes[1]), 255);
  EXPECT_EQ(uint8_t(bytes[2]) | uint8_t(bytes[3]) << 8, 4096);
  EXPECT_EQ(uint8_t(bytes[86]) | uint8_t(bytes[87]) << 8, 256);
  EXPECT_EQ(uint8_t(bytes[88]) | uint8_t(bytes[89]) << 8, 2);
  EXPECT_TRUE(std::all_of(bytes.begin() + 90, bytes.begin() + 4096, [](char b) { return b == 0; }));
}

TEST(SampleRecordingTest, LargestRecordingFillsTheWholeStore) {
  OpenedSample sample(Short(1, 65.535));
  EXPECT_EQ(sample.state->NrOfFramesinFile, 65555);
  EXPECT_EQ(sample.rowsToFill, 65535);
  EXPECT_TRUE(sample.ui.messages.empty());  // nothing was cut
}

TEST(SampleRecordingTest, SameSeedGivesTheSameBytesAndAnotherSeedOthers) {
  TempDir dir;
  const SampleFiles files = SampleRecording::Write(Short(7, 5), dir.File("a"));
  const std::string first = ReadFile(files.recording);
  EXPECT_EQ(first, SampleRecording::RecordingBytes(Short(7, 5)));
  const std::string other = SampleRecording::RecordingBytes(Short(8, 5));
  ASSERT_EQ(other.size(), first.size());
  EXPECT_NE(other, first);
  EXPECT_EQ(first.substr(0, 4096), other.substr(0, 4096));
}

TEST(SampleRecordingTest, WavesRunAlongTheColumnsAtTheGivenSpeed) {
  // 4 mm at 8 mm/s is 500 ms per column; waves 20 s apart; wave 3 would start after the end.
  const std::vector<Activation> activations = SampleRecording::ActivationTimes(Short(1, 60));
  const std::vector<int> dead = SampleRecording::DeadChannels(Short(1, 60));
  ASSERT_EQ(activations.size(), 3u * (240u - dead.size()));
  for (const Activation& a : activations) {
    EXPECT_EQ(a.channel, 17 + (a.row - 1) * 16 + (a.col - 1));
    EXPECT_EQ(a.timeMs, 2000 + a.wave * 20000 + (a.col - 1) * 500) << "channel " << a.channel;
  }
  EXPECT_EQ(activations.back().wave, 2);
}

TEST(SampleRecordingTest, DirectionTurnsTheWaveAndTheEarliestStaysAtTwoSeconds) {
  SampleSettings settings = Short(1, 30);
  settings.directionDeg = 270;  // down the screen, towards increasing rows
  settings.speedMmPerS = 4;     // 1 s per row
  for (const Activation& a : SampleRecording::ActivationTimes(settings))
    EXPECT_EQ(a.timeMs, 2000 + a.wave * 20000 + (a.row - 1) * 1000);
  settings.directionDeg = 180;
  for (const Activation& a : SampleRecording::ActivationTimes(settings))
    EXPECT_EQ(a.timeMs, 2000 + a.wave * 20000 + (16 - a.col) * 1000);
}

TEST(SampleRecordingTest, KeepsOnlyWavesWhoseDownstrokesFitInTheRecording) {
  // Wave 2 ends at 42000 + 7500 ms and needs 100 ms more after it.
  auto waves = [](double seconds) {
    int count = 0;
    for (const Activation& a : SampleRecording::ActivationTimes(Short(1, seconds))) count = std::max(count, a.wave + 1);
    return count;
  };
  EXPECT_EQ(waves(49.599), 2);
  EXPECT_EQ(waves(49.6), 3);
  EXPECT_EQ(waves(9.6), 1);
  EXPECT_EQ(waves(9.5), 0);
}

void ExpectSteepestFallsAtActivations(const SampleSettings& settings) {
  OpenedSample sample(settings);
  const std::vector<Activation> activations = SampleRecording::ActivationTimes(settings);
  ASSERT_FALSE(activations.empty());
  for (const Activation& a : activations) {
    const int steepest = sample.SteepestFall(a.channel, a.timeMs - 50, a.timeMs + 50);
    EXPECT_NEAR(steepest, a.timeMs, 2) << "channel " << a.channel << " wave " << a.wave;
    EXPECT_LT(sample.Fall(a.channel, steepest), -250) << "channel " << a.channel << " wave " << a.wave;
  }
}

TEST(SampleRecordingTest, SignalFallsFastestAtEachActivation) {
  ExpectSteepestFallsAtActivations(Short(1, 30));
  SampleSettings turned = Short(5, 30);
  turned.directionDeg = 225;
  turned.speedMmPerS = 3;
  ExpectSteepestFallsAtActivations(turned);
}

TEST(SampleRecordingTest, DeadElectrodesHaveNoDownstroke) {
  const SampleSettings settings = Short(2, 30);
  const std::vector<int> dead = SampleRecording::DeadChannels(settings);
  ASSERT_EQ(dead.size(), 3u);
  EXPECT_EQ(std::set<int>(dead.begin(), dead.end()).size(), 3u);
  for (const Activation& a : SampleRecording::ActivationTimes(settings))
    EXPECT_FALSE(std::binary_search(dead.begin(), dead.end(), a.channel));
  OpenedSample sample(settings);
  for (const int channel : dead) {
    EXPECT_GE(channel, 17);
    EXPECT_LE(channel, 256);
    int32_t largestFall = 0;
    for (int t = 3; t <= sample.rowsToFill - 2; ++t) largestFall = std::min(largestFall, sample.Fall(channel, t));
    EXPECT_GT(largestFall, -200) << "channel " << channel;
  }
  EXPECT_NE(SampleRecording::DeadChannels(Short(3, 30)), dead);
}

TEST(SampleRecordingTest, ChannelsOffTheGridCarryOnlySmallNoise) {
  SampleSettings settings = Short(4, 12);
  settings.cols = 3;
  settings.rows = 2;
  OpenedSample sample(settings);
  for (const Activation& a : SampleRecording::ActivationTimes(settings)) EXPECT_LE(a.channel, 22);
  for (const int channel : {1, 16, 23, 256}) {
    for (int t = 1; t <= sample.rowsToFill; ++t) ASSERT_LE(std::abs(sample.At(channel, t)), 60) << channel;
  }
  EXPECT_EQ(SampleRecording::DeadChannels(settings), std::vector<int>{});
}

// Each impairment, alone, on channel 5 (off the grid: no slow waves, baseline 0): what it adds
// is the impaired signal less the clean one, whose noise is drawn the same way.
TEST(SampleRecordingTest, EachImpairmentAddsWhatItSays) {
  constexpr double kUnits = 0.747;  // per uV
  struct Case {
    const char* name;
    SignalImpairments impairments;
  };
  const Case cases[] = {{"noise", {.noiseUv = 60}},
                        {"mains", {.mainsUv = 100, .mainsHz = 60}},
                        {"drift", {.driftUv = 3000, .driftHz = 0.05}},
                        {"artifacts", {.artifactsPerMinute = 3}}};
  const SampleSettings clean = Short(2, 60);
  const std::vector<double> before = SampleRecording::ChannelSignal(clean, 5);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SampleSettings settings = clean;
    settings.impairments = c.impairments;
    const std::vector<double> after = SampleRecording::ChannelSignal(settings, 5);
    ASSERT_EQ(after.size(), before.size());
    std::vector<double> added(after.size());
    for (size_t k = 0; k < added.size(); ++k) added[k] = after[k] - before[k];
    const double largest = *std::max_element(added.begin(), added.end(), [](double a, double b) { return std::abs(a) < std::abs(b); });
    if (c.impairments.noiseUv > 0) {
      double squares = 0;
      for (const double v : after) squares += v * v;
      EXPECT_NEAR(std::sqrt(squares / double(after.size())), 60 * kUnits, 0.03 * 60 * kUnits);
    } else if (c.impairments.mainsUv > 0) {
      EXPECT_GE(std::abs(largest), 0.6 * 100 * kUnits);
      EXPECT_LE(std::abs(largest), 100 * kUnits + 1e-6);
      for (size_t k = 0; k + 50 < added.size(); k += 997) EXPECT_NEAR(added[k + 50], added[k], 1e-6);  // 3 cycles
    } else if (c.impairments.driftUv > 0) {
      EXPECT_NEAR(std::abs(largest), 3000 * kUnits, 0.01 * 3000 * kUnits);
      for (size_t k = 1; k < added.size(); ++k) ASSERT_LE(std::abs(added[k] - added[k - 1]), 1.0);
    } else {
      const std::vector<MotionArtifact> artifacts = SampleImpairments::Artifacts(settings);
      ASSERT_EQ(artifacts.size(), 3u);
      for (size_t k = 0; k < added.size(); ++k) {
        const bool during = std::any_of(artifacts.begin(), artifacts.end(), [&](const MotionArtifact& a) {
          return double(k) >= a.startMs && double(k) < a.startMs + 10 * a.peakAfterMs;
        });
        if (!during) {
          ASSERT_EQ(added[k], 0.0) << k;
        }
      }
      for (const MotionArtifact& a : artifacts) {
        const double swing = added[size_t(std::llround(a.startMs + a.peakAfterMs))] / (a.amplitudeUv * kUnits);
        EXPECT_GE(swing, 0.29);
        EXPECT_LE(swing, 1.0);
        EXPECT_GE(std::abs(a.amplitudeUv), 2000);
      }
    }
  }
}

TEST(SampleRecordingTest, MatrixFileHoldsTheGridRowByRow) {
  OpenedSample sample(Short(1, 3));
  const MatrixFileContents matrix = MatrixFile::ReadNew(sample.files.matrix);
  EXPECT_EQ(matrix.NrElectrodes, 240);
  EXPECT_EQ(matrix.NrCols, 16);
  EXPECT_EQ(matrix.NrRows, 15);
  EXPECT_DOUBLE_EQ(matrix.ElectrodeDistance, 4.0);
  ASSERT_EQ(matrix.cells.size(), 240u);
  for (size_t n = 0; n < matrix.cells.size(); ++n) EXPECT_EQ(matrix.cells[n], int32_t(17 + n));
  EXPECT_EQ(sample.state->NrCols, 16);
  EXPECT_EQ(sample.state->GridCell(16, 15), 256);
  EXPECT_EQ(sample.state->ElectrodeX[33 - 1], 1);
  EXPECT_EQ(sample.state->ElectrodeY[33 - 1], 2);
}

TEST(SampleRecordingTest, SmallGridMatrixKeepsItsSpacing) {
  SampleSettings settings = Short(1, 3);
  settings.cols = 3;
  settings.rows = 2;
  settings.spacingMm = 1.5;
  EXPECT_EQ(SampleRecording::MatrixText(settings),
            "-2\n6 3 2 1.5\nSample grid: 3 columns x 2 rows, 1.5 mm spacing, channels 17..22 row by row\n"
            "17 18 19\n20 21 22\n");
}

TEST(SampleRecordingTest, RejectsSettingsItCannotRecord) {
  SampleSettings tooWide = Short();
  tooWide.cols = 20;
  tooWide.rows = 13;
  EXPECT_THROW(SampleRecording::Check(tooWide), std::invalid_argument);
  tooWide.rows = 12;
  EXPECT_NO_THROW(SampleRecording::Check(tooWide));
  EXPECT_NO_THROW(SampleRecording::Check(Short(1, 1800)));  // longer than the old store
  EXPECT_THROW(SampleRecording::Check(Short(1, 3600.001)), std::invalid_argument);
  EXPECT_THROW(SampleRecording::Check(Short(1, 0)), std::invalid_argument);
  SampleSettings still = Short();
  still.speedMmPerS = 0;
  EXPECT_THROW(SampleRecording::Check(still), std::invalid_argument);
  TempDir dir;
  EXPECT_THROW(SampleRecording::Write(still, dir.File("x")), std::invalid_argument);
  EXPECT_FALSE(std::filesystem::exists(dir.File("x")));
}

}  // namespace
}  // namespace velmora
