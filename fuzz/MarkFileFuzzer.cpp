// Mark files: read into the store of a loaded recording, then everything computed from the
// marks runs over them (intervals, amplitudes, every map kind, the electrogram pane with
// times and intervals, the wave search), and the store is written and read back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "FuzzRecording.h"
#include "core/Errors.h"
#include "core/RecordingCanvas.h"
#include "maps/MapComputation.h"
#include "marks/AmplitudeCalculation.h"
#include "marks/ElectrogramDrawing.h"
#include "marks/MarkFile.h"
#include "marks/MarkIntervals.h"
#include "waves/WaveSearch.h"

using namespace velmora;

namespace {

// The time of the first reference mark, as choosing it in the reference table would set it.
void TakeFirstReference(AnalysisState& state) {
  state.ReferenceTime = 0;
  for (int n = 1; n <= state.MarkCount; ++n) {
    if (state.Mark(n).Kind == kReferenceMark) {
      state.ReferenceTime = state.Mark(n).Time;
      return;
    }
  }
}

void FillEveryMap(AnalysisState& state) {
  for (int kind = 0; kind <= 6; ++kind) {
    state.CurMapKind = uint8_t(kind);
    FillMapGrid(state);
    ExpandMapGrid(state);
  }
}

void DrawElectrograms(AnalysisState& state) {
  state.ShowElgMarks = state.ShowElgTimes = state.ShowElgIntervals = state.ShowSpikeIntervals = true;
  RecordingCanvas canvas;
  ElectrogramDrawing drawing(state, canvas);
  drawing.DrawElectrograms();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::FuzzRecording& recording = fuzz::FuzzRecording::Shared();
  AnalysisState& state = recording.State();
  MarkFileContents contents;
  try {
    contents = MarkFile::Parse("fuzz.M00", std::string(reinterpret_cast<const char*>(data), size));
  } catch (const IoError&) {
    return 0;
  }
  ApplyMarkFile(state, contents);
  TakeFirstReference(state);
  MarkIntervals::CalcMarkIntervals(state);
  CalcAmplitudes(state);
  FillEveryMap(state);
  DrawElectrograms(state);
  WaveSearch().CalculateWaves(state);
  // What the workbench saves it must read again, every record kept.
  try {
    const MarkFileContents again = MarkFile::Parse("again.M00", MarkFile::Serialize(state));
    if (again.records.size() != contents.records.size()) std::abort();
    for (size_t k = 0; k < again.records.size(); ++k) {
      const MarkRecord &read = contents.records[k], &written = again.records[k];
      if (read.Electrode != written.Electrode || read.Kind != written.Kind || read.Time != written.Time ||
          read.Origin != written.Origin)
        std::abort();
    }
  } catch (const IoError&) {
    std::abort();
  }
  return 0;
}
