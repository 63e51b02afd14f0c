// What follows "Marks from .txt file": the imported marks go through every map kind and its
// drawing, the electrogram pane and the wave search, and the connections made from them are
// drawn as the pane draws them.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzRecording.h"
#include "core/Errors.h"
#include "core/RecordingCanvas.h"
#include "maps/ConnectionDrawing.h"
#include "maps/ConnectionMaking.h"
#include "maps/MapComputation.h"
#include "maps/MapDrawing.h"
#include "maps/MapDrawingHooks.h"
#include "marks/ElectrogramDrawing.h"
#include "output/MarksTextImport.h"
#include "waves/WaveSearch.h"

using namespace velmora;

namespace {

constexpr int kPaneWidth = 600, kPaneHeight = 400;

void DrawEveryMap(AnalysisState& state) {
  for (int kind = 0; kind <= 6; ++kind) {
    state.CurMapKind = uint8_t(kind);
    RecordingCanvas canvas;
    MapDrawing::DrawMap(state, canvas, kPaneWidth, kPaneHeight, MapDrawingHooks{});
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::FuzzRecording& recording = fuzz::FuzzRecording::Shared();
  AnalysisState& state = recording.State();
  state.MarkCount = 0;
  state.ConnectionCount = 0;
  try {
    const MarksTextImport::Contents contents =
        MarksTextImport::Parse("fuzz.txt", std::string(reinterpret_cast<const char*>(data), size));
    MarksTextImport::Apply(state, "fuzz.txt", contents);
  } catch (const IoError&) {
    recording.ForgetMessages();
    return 0;
  }
  DrawEveryMap(state);
  ConnectionMaking().MakeConnections(state);
  RecordingCanvas canvas;
  state.ShowElgMarks = state.ShowElgTimes = true;
  ElectrogramDrawing(state, canvas).DrawElectrograms();
  for (int trace = 1; trace <= 4; ++trace) ConnectionDrawing::DrawConnections(state, canvas, trace, 16 + trace);
  WaveSearch().CalculateWaves(state);
  recording.ForgetMessages();
  return 0;
}
