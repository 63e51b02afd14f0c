// Connection files as "Read Connections" takes them: read into the table, then drawn as the
// electrogram pane draws them, every trace of the pane.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzRecording.h"
#include "core/Errors.h"
#include "core/RecordingCanvas.h"
#include "core/TraceChannel.h"
#include "maps/ConnectionDrawing.h"
#include "maps/ConnectionFile.h"
#include "marks/ElectrogramDrawing.h"

using namespace velmora;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::FuzzRecording& recording = fuzz::FuzzRecording::Shared();
  AnalysisState& state = recording.State();
  try {
    ConnectionFile::ApplyConnections(state, recording.UiSink(),
                                     ConnectionFile::Parse("fuzz.C00", std::string(reinterpret_cast<const char*>(data), size)));
  } catch (const IoError&) {
    recording.ForgetMessages();
    return 0;
  }
  RecordingCanvas canvas;
  ElectrogramDrawing(state, canvas).DrawElectrograms();
  for (int trace = 1; trace <= state.NrTraces; ++trace)
    ConnectionDrawing::DrawConnections(state, canvas, trace, TraceChannel(state, trace));
  recording.ForgetMessages();
  return 0;
}
