#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/AnalysisState.h"
#include "core/DataRoot.h"
#include "core/Errors.h"
#include "core/SignalUnits.h"
#include "input/AcquisitionReader.h"
#include "input/AcquisitionSampleRecording.h"
#include "input/E00Reader.h"
#include "input/SampleRecording.h"
#include "marks/AmplitudeCalculation.h"
#include "marks/AutomaticMarking.h"
#include "marks/ElectrodeQuality.h"
#include "support/EdfFileBuilder.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"

namespace velmora {
namespace {

using Format = AcquisitionSampleRecording::Format;
constexpr double kUnitsPerMicrovolt = SampleImpairments::kUnitsPerMicrovolt;

class AcquisitionReaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    matrix = dir.Write("grid.txt", SampleRecording::MatrixText(SampleSettings{}));
    state->DefaultMatrixFileName = matrix;
  }
  void Open(const std::string& path) { AcquisitionReader(*state, ui, root).Open(path, RecordingOpenOptions{false, false}); }
  std::string Messages() const {
    std::string all;
    for (const std::string& m : ui.messages) all += m + "\n";
    return all;
  }

  testing::TempDir dir;
  testing::ScriptedUi ui;
  DataRoot root{dir.File("root")};
  std::unique_ptr<AnalysisState> state = std::make_unique<AnalysisState>();
  std::string matrix;
};

// The files come from EDFlib (GDF: EDFlib's BDF+ through biosig's save2gdf), the reader is
// libbiosig's: each sample, with the offset the reader took out put back and the writer's
// taken away, is the E00 sample's, 747 units to the millivolt, within the rounding of both
// and the format's step (EDF's 16 bits step 1.7 uV here, BDF's 24 bits 0.007 uV).
TEST_F(AcquisitionReaderTest, EverySampleIsTheE00SamplesWithinTheFormatsQuantisation) {
  SampleSettings settings;
  settings.seconds = 10;  // one whole wave
  const double offsetMv = 40;
  state->SmoothElectrograms = false;
  E00Reader(*state, ui, root).Open(SampleRecording::Write(settings, dir.File("e00")).recording,
                                   RecordingOpenOptions{false, false});
  const std::vector<int32_t> e00(state->Signals.begin(), state->Signals.end());
  const int e00Rows = state->SignalRows();
  for (const Format format : {Format::Edf, Format::Bdf, Format::Gdf}) {
    const std::string ext = AcquisitionSampleRecording::Extension(format);
    const SampleFiles files = AcquisitionSampleRecording::Write(format, settings, offsetMv, dir.File(ext.substr(1)));
    Open(files.recording);
    ASSERT_EQ(state->SamplingF, 1000) << ext;
    ASSERT_GE(state->SignalRows(), e00Rows) << ext;
    EXPECT_EQ(state->MarkFileName, files.recording + ".velmora-marks");
    double worst = 0;
    for (int c = 0; c < kChannels; ++c) {
      const AcquisitionSignal& signal = state->Acquisition.fileSignals[size_t(c)];
      ASSERT_EQ(signal.use, AcquisitionSignal::Use::Electrode) << ext << " signal " << c + 1;
      const int64_t added = int64_t(AcquisitionSampleRecording::OffsetUv(settings, offsetMv, c + 1));
      for (int r = 0; r < e00Rows; ++r) {
        const double recovered = double(int64_t(state->Signal(r, c)) + signal.offsetUv - added) * kUnitsPerMicrovolt;
        worst = std::max(worst, std::fabs(recovered - e00[size_t(r) * kChannels + size_t(c)]));
      }
    }
    // EDFlib quantises to a whole step (it does not round to the nearer one).
    const double digital = format == Format::Edf ? 65534 : 16777214;
    const double step = 2 * AcquisitionSampleRecording::RangeUv(offsetMv) / digital;
    EXPECT_LE(worst, 0.5 + kUnitsPerMicrovolt * (0.5 + step) + 1e-9) << ext;
    const auto first = SampleRecording::ActivationTimes(settings).front();
    ASSERT_FALSE(state->Acquisition.annotations.empty()) << ext;
    EXPECT_EQ(state->Acquisition.annotations.front().text, format == Format::Gdf ? "event type 1" : "slow wave 1")
        << ext;
    EXPECT_EQ(state->Acquisition.annotations.front().timeMs, first.timeMs) << ext;
  }
}

// The bytes of a small EDF+ header, changed in place.
struct HeaderEdit {
  std::string& bytes;
  int signals;
  void Field(size_t offset, size_t width, const std::string& text) {
    bytes.replace(offset, width, (text + std::string(width, ' ')).substr(0, width));
  }
  // A field of the signal headers: `start` is where the field's block begins, per signal.
  void Signal(size_t start, size_t width, int s, const std::string& text) {
    Field(256 + start * size_t(signals) + size_t(s - 1) * width, width, text);
  }
};

struct BadFile {
  const char* name;
  std::function<void(const std::string& path, std::string& bytes)> make;
  bool loads;         // with a warning, or refused
  const char* says;   // part of the warning or of the refusal
};

TEST_F(AcquisitionReaderTest, BadFilesAreRefusedOrLoadWhatTheyHoldWithAWarning) {
  testing::EdfFileBuilder base;  // 4 signals and an annotation signal, 2 one-second records
  const auto edit = [](std::string& bytes) { return HeaderEdit{bytes, 5}; };
  const std::vector<BadFile> cases = {
      {"cut short", [](const std::string&, std::string& b) { b.resize(b.size() - 500); }, true, "holds 1 whole"},
      {"still running", [&](const std::string&, std::string& b) { edit(b).Field(236, 8, "-1"); }, true, "-1"},
      {"count disagrees", [&](const std::string&, std::string& b) { edit(b).Field(236, 8, "7"); }, true,
       "gives 7 data records but the file holds 2"},
      {"no digital width",
       [&](const std::string&, std::string& b) {
         edit(b).Signal(120, 8, 2, "100");
         edit(b).Signal(128, 8, 2, "100");
       },
       true, "2 (S2) have a digital range of no width"},
      {"text for the signal count", [&](const std::string&, std::string& b) { edit(b).Field(252, 4, "ab"); }, false,
       "\"number of signals\" holds \"ab\""},
      {"text for a physical maximum", [&](const std::string&, std::string& b) { edit(b).Signal(112, 8, 1, "abc"); },
       false, "\"physical maximum\" of signal 1 (S1) holds \"abc\""},
      {"zero signals",
       [&](const std::string&, std::string& b) {
         b.resize(256);
         edit(b).Field(252, 4, "0");
         edit(b).Field(184, 8, "256");
       },
       false, "holds no signals"},
      {"300 signals",
       [](const std::string& path, std::string& b) {
         testing::EdfFileBuilder many;
         many.signals = 300;
         many.seconds = 1;
         many.Write(path);
         b = testing::ReadFile(path);
       },
       true, "signals 257 (S257)"},
      {"mixed rates",
       [](const std::string& path, std::string& b) {
         testing::EdfFileBuilder mixed;
         mixed.rate = [](int s) { return s == 3 ? 50 : 100; };
         mixed.Write(path);
         b = testing::ReadFile(path);
       },
       true, "signals 3 (S3) are sampled at other rates"},
      {"plain text", [](const std::string&, std::string& b) { b = std::string(3000, 'x'); }, false,
       "not an EDF, BDF or GDF"},
      {"E00 renamed", [](const std::string&, std::string& b) { b = "\xFF\xFF" + std::string(5000, '\0'); }, false,
       "not an EDF, BDF or GDF"},
  };
  const std::string good = dir.File("good.edf");
  base.Write(good);
  for (const BadFile& c : cases) {
    Open(good);
    const std::vector<int32_t> before(state->Signals.begin(), state->Signals.end());
    ui.messages.clear();
    const std::string path = dir.File(std::string(c.name) + ".edf");
    std::string bytes = testing::ReadFile(good);
    c.make(path, bytes);
    dir.Write(std::string(c.name) + ".edf", bytes);
    try {
      Open(path);
      EXPECT_TRUE(c.loads) << c.name << " loaded";
      EXPECT_NE(Messages().find(c.says), std::string::npos) << c.name << ": " << Messages();
      EXPECT_NE(Messages().find(path), std::string::npos) << c.name;
    } catch (const IoError& error) {
      EXPECT_FALSE(c.loads) << c.name << ": " << error.what();
      EXPECT_NE(std::string(error.what()).find(c.says), std::string::npos) << c.name << ": " << error.what();
      EXPECT_EQ(error.Path(), path);
      EXPECT_EQ(state->ElgFileName, good) << c.name;
      EXPECT_TRUE(std::equal(before.begin(), before.end(), state->Signals.begin(), state->Signals.end())) << c.name;
    }
  }
}

// At a file's own rate other than 1000 Hz, times stay those of the file: a fall at 3 s is
// marked at 3000 ms (sample 1536 at 512 Hz), the annotation at 0.5 s lies at 500 ms.
TEST_F(AcquisitionReaderTest, AtItsOwnRateMarksAndAnnotationsKeepTheFilesTimes) {
  testing::EdfFileBuilder builder;
  builder.bdf = true;
  builder.signals = 20;
  builder.seconds = 10;
  builder.rate = [](int) { return 512; };
  builder.value = [](int s, int k) { return (k >= 1536 && k < 1536 + 100) ? -2000.0 : double((k * 7 + s) % 5); };
  const std::string path = dir.File("rate.bdf");
  builder.Write(path);
  Open(path);
  ASSERT_EQ(state->SamplingF, 512);
  EXPECT_EQ(state->SigLength, 10000 - 2);  // 5119 rows, the last at 5119 / 512 s
  ASSERT_EQ(state->Acquisition.annotations.size(), 1u);
  EXPECT_EQ(state->Acquisition.annotations.front().timeMs, 500);
  state->CurBegin = 0;
  state->CurWindow = state->SigLength;
  state->MarkType[0] = 1;
  AutomaticMarking(*state, ui).MarkAllSlowWaves();
  ASSERT_EQ(state->MarkCount, 4);  // electrodes 17 to 20
  for (int n = 1; n <= state->MarkCount; ++n) EXPECT_EQ(state->Mark(n).Time, 3000) << "electrode " << state->Mark(n).Electrode;
}

// The store holds whole microvolts: a wave of 1 mV from top to bottom, falling 1 mV in
// 100 ms, measures 1 mV and the slope the E00 measure gives (the fall over 24 samples, taken
// as 25 ms at 1000 Hz), here 24 samples at 512 Hz.
TEST_F(AcquisitionReaderTest, AMillivoltWaveMeasuresOneMillivolt) {
  testing::EdfFileBuilder builder;
  builder.signals = 20;
  builder.seconds = 10;
  builder.rate = [](int) { return 512; };
  builder.value = [](int, int k) {
    const double t = k / 512.0;
    if (t >= 2.8 && t < 2.9) return 500.0;
    if (t >= 2.9 && t <= 3.0) return 500.0 - 1000.0 * (t - 2.9) / 0.1;
    return t > 3.0 && t < 3.2 ? -500.0 : 0.0;
  };
  const std::string path = dir.File("mv.edf");
  builder.Write(path);
  Open(path);
  ASSERT_EQ(state->SamplingF, 512);
  const double step = 20000.0 / 65535;  // EDF's 16 bits over +-10 mV
  for (int electrode = 17; electrode <= 20; ++electrode) {
    const AmplitudeRecord r = AmplitudeCalculation::Measure(*state, electrode, 2950, 0);
    EXPECT_NEAR((r.MaxValue - r.MinValue) / UnitsPerMv(*state), 1.0, 0.002 + step / 1000) << electrode;
    EXPECT_NEAR(r.Slope, 10.0 * 24 / 25, 0.05) << electrode;
  }
}

// A downstroke of 1 mV over 20 ms every 10 s, a little later on each electrode: the robust
// detector finds every one over the whole recording and marks it within a sample of its
// time on the file's axis (within 1 ms where a sample is shorter); the flat electrode is
// judged dead and the others good with every activation counted.
TEST_F(AcquisitionReaderTest, RobustMarksAndQualityKeepTheFilesTimesAtAnyRate) {
  constexpr int kWaves = 4, kLive = 4;
  const auto wave = [](int electrode, int n) { return 4.0 + 10.0 * n + 0.0031 * (electrode - 17); };
  for (const int rate : {512, 2048}) {
    SCOPED_TRACE(rate);
    testing::EdfFileBuilder builder;
    builder.bdf = true;
    builder.signals = 16 + kLive + 1;
    builder.seconds = 42;
    builder.rate = [rate](int) { return rate; };
    builder.value = [&, rate](int s, int k) {
      const double t = double(k) / rate;
      const double noise = double(int((uint32_t(k) * 2654435761u + uint32_t(s) * 40503u) >> 16) % 31 - 15);
      if (s < 17 || s > 16 + kLive) return noise;
      double v = noise;
      for (int n = 0; n < kWaves; ++n) {
        const double from = t - (wave(s, n) - 0.01);
        if (from >= 0 && from <= 0.02) v -= 1000 * from / 0.02;
        if (from > 0.02) v -= 1000 * std::exp(-(from - 0.02) / 0.5);
      }
      return v;
    };
    const std::string path = dir.File("robust" + std::to_string(rate) + ".bdf");
    builder.Write(path);
    Open(path);
    ASSERT_EQ(state->SamplingF, rate);
    state->CurBegin = 0;
    state->CurWindow = state->SigLength;
    state->MarkType[0] = 1;
    state->DetectionMethod = AutomaticMarking::kRobustMethod;
    AutomaticMarking(*state, ui).MarkAllSlowWaves();
    const double tolerance = std::max(1000.0 / rate, 1.0);
    std::vector<int> found(size_t(16 + kLive + 1), 0);
    for (int m = 1; m <= state->MarkCount; ++m) {
      const MarkRecord& mark = state->Mark(m);
      ASSERT_TRUE(mark.Electrode >= 17 && mark.Electrode <= 16 + kLive) << "a mark on electrode " << mark.Electrode;
      const int n = int(std::lround((mark.Time / 1000.0 - 4.0) / 10.0));
      ASSERT_TRUE(n >= 0 && n < kWaves) << mark.Time;
      EXPECT_LE(std::abs(mark.Time - 1000 * wave(mark.Electrode, n)), tolerance) << "electrode " << mark.Electrode;
      ++found[size_t(mark.Electrode)];
    }
    for (int e = 17; e <= 16 + kLive; ++e) EXPECT_EQ(found[size_t(e)], kWaves) << "electrode " << e;
    const auto table = ElectrodeQuality::Measure(*state);
    ASSERT_TRUE(table);
    for (const ElectrodeQualityTable::Record& r : table->electrodes) {
      if (r.channel > 16 + kLive + 1) continue;
      SCOPED_TRACE(r.channel);
      EXPECT_EQ(r.verdict, r.channel <= 16 + kLive ? ElectrodeQuality::Verdict::Good : ElectrodeQuality::Verdict::Dead);
      if (r.channel <= 16 + kLive) EXPECT_EQ(r.activations, kWaves);
    }
    state = std::make_unique<AnalysisState>();
    state->DefaultMatrixFileName = matrix;
  }
}

}  // namespace
}  // namespace velmora
