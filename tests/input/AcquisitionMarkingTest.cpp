#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "core/AnalysisState.h"
#include "core/DataRoot.h"
#include "input/AcquisitionReader.h"
#include "input/AcquisitionSampleRecording.h"
#include "input/E00Reader.h"
#include "input/SampleRecording.h"
#include "maps/MapComputation.h"
#include "marks/AutomaticMarking.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"

namespace velmora {
namespace {

constexpr int kNearMs = 150;

struct Scores {
  double sensitivity = 0, ppv = 0;
};

// Against the truth file's activations: the share of them with a mark of their electrode
// within 150 ms, and the share of the marks that lie that near one.
Scores Score(const AnalysisState& s, const std::vector<Activation>& truth) {
  const auto near = [&](const MarkRecord& mark, const Activation& a) {
    return mark.Electrode == a.channel && std::abs(mark.Time - a.timeMs) <= kNearMs;
  };
  int found = 0, right = 0;
  for (const Activation& a : truth)
    for (int n = 1; n <= s.MarkCount; ++n)
      if (near(s.Mark(n), a)) {
        ++found;
        break;
      }
  for (int n = 1; n <= s.MarkCount; ++n)
    for (const Activation& a : truth)
      if (near(s.Mark(n), a)) {
        ++right;
        break;
      }
  return {double(found) / double(truth.size()), s.MarkCount > 0 ? double(right) / s.MarkCount : 0.0};
}

void MarkWhole(AnalysisState& s, Ui& ui) {
  s.CurBegin = 0;
  s.CurWindow = s.SigLength;
  s.MarkType[0] = 1;
  AutomaticMarking(s, ui).MarkAllSlowWaves();
}

// The time map of each wave's window, cell by cell.
std::vector<int32_t> WaveMaps(AnalysisState& s, int waves) {
  std::vector<int32_t> cells;
  s.CurMapKind = 0;
  for (int w = 0; w < waves; ++w) {
    s.MapBegin = 1000 + 20000 * w;
    s.MapWindow = 10000;
    MapComputation::FillMapGrid(s);
    for (int col = 1; col <= s.NrCols; ++col)
      for (int row = 1; row <= s.NrRows; ++row) cells.push_back(s.Cell(col, row).Value);
  }
  return cells;
}

// A BDF with DC offsets of up to 40 mV, 50 Hz hum and a slow drift, opened with the filter
// chain on, is marked as the clean E00 sample is: as many activations found and as few false
// marks, and the time maps of its waves within a sample (1 ms) of the E00 sample's at every
// live electrode.
TEST(AcquisitionMarkingTest, TheFilteredBdfIsMarkedAndMappedAsTheE00Sample) {
  testing::TempDir dir;
  testing::ScriptedUi ui;
  const DataRoot root(dir.File("root"));
  SampleSettings settings;
  const SampleFiles e00 = SampleRecording::Write(settings, dir.File("e00"));
  settings.impairments.mainsUv = 300;
  settings.impairments.driftUv = 3000;
  settings.impairments.driftHz = 0.01;
  const SampleFiles bdf = AcquisitionSampleRecording::Write(AcquisitionSampleRecording::Format::Bdf, settings, 40,
                                                            dir.File("bdf"));
  const std::vector<Activation> truth = SampleRecording::ActivationTimes(settings);
  const int waves = truth.back().wave + 1;

  auto reference = std::make_unique<AnalysisState>();
  reference->DefaultMatrixFileName = e00.matrix;
  reference->SmoothElectrograms = false;
  E00Reader(*reference, ui, root).Open(e00.recording, RecordingOpenOptions{false, false});
  MarkWhole(*reference, ui);
  const Scores expected = Score(*reference, truth);

  auto state = std::make_unique<AnalysisState>();
  state->DefaultMatrixFileName = bdf.matrix;
  state->FilterMains = 1;
  state->FilterBaselineSeconds = 30;
  AcquisitionReader(*state, ui, root).Open(bdf.recording, RecordingOpenOptions{false, false});
  ASSERT_EQ(state->Acquisition.filters, "notch:50:3,baseline:30");
  MarkWhole(*state, ui);
  const Scores got = Score(*state, truth);
  std::cout << "automatic marking against the truth file: E00 sample sensitivity " << expected.sensitivity
            << ", PPV " << expected.ppv << "; filtered BDF sensitivity " << got.sensitivity << ", PPV " << got.ppv
            << "\n";
  EXPECT_GE(got.sensitivity, expected.sensitivity - 0.01);
  EXPECT_GE(got.ppv, expected.ppv - 0.01);

  const std::vector<int32_t> want = WaveMaps(*reference, waves), have = WaveMaps(*state, waves);
  ASSERT_EQ(want.size(), have.size());
  // A dead electrode has no activation to map, only what its noise crosses now and then.
  const size_t cellsPerWave = want.size() / size_t(waves);
  std::vector<bool> dead(cellsPerWave, false);
  for (const int channel : SampleRecording::DeadChannels(settings)) {
    const int n = channel - kFirstElectrode, col = n % settings.cols + 1, row = n / settings.cols + 1;
    dead[size_t(col - 1) * size_t(settings.rows) + size_t(row - 1)] = true;
  }
  int apart = 0;
  for (size_t i = 0; i < want.size(); ++i)
    if (std::abs(int64_t(want[i]) - have[i]) > 1 && !dead[i % cellsPerWave]) ++apart;
  EXPECT_EQ(apart, 0) << "of " << want.size() << " cells";
}

}  // namespace
}  // namespace velmora
