// The recording reader on any file: the header block, the frames after it, the cut last
// frame, raw and smoothed.
#include <cstddef>
#include <cstdint>

#include "FuzzRecording.h"
#include "FuzzScratch.h"
#include "core/Errors.h"
#include "input/E00Reader.h"

using namespace velmora;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::FuzzRecording& recording = fuzz::FuzzRecording::Shared();
  AnalysisState& state = recording.State();
  const std::string path = fuzz::FuzzScratch::Write("fuzz.E00", data, size);
  // The first bit of the last byte picks smoothing, so both ways of filling the store run.
  state.SmoothElectrograms = size > 0 && (data[size - 1] & 1) != 0;
  try {
    E00Reader reader(state, recording.UiSink(), recording.Root());
    reader.Open(path, RecordingOpenOptions{false, false});
  } catch (const IoError&) {
  }
  recording.ForgetMessages();
  return 0;
}
