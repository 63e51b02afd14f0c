// The EDF, BDF and GDF reader on any file: the header check, the format library in its own
// process, the plan of what loads and the samples it reads, with the filter chain on for
// every other input.
#include <cstddef>
#include <cstdint>

#include "FuzzRecording.h"
#include "FuzzScratch.h"
#include "core/Errors.h"
#include "input/AcquisitionFile.h"
#include "input/AcquisitionReader.h"

using namespace velmora;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::FuzzRecording& recording = fuzz::FuzzRecording::Shared();
  AnalysisState& state = recording.State();
  const std::string path = fuzz::FuzzScratch::Write("fuzz.edf", data, size);
  // A library stuck on a header is given up well before the harness counts a hang.
  AcquisitionFile::TimeoutMs() = 3000;
  const bool filtered = size > 0 && (data[size - 1] & 1) != 0;
  state.FilterMains = filtered ? 1 : 0;
  state.FilterBaselineSeconds = filtered ? 10 : 0;
  state.FilterSmoothingMs = filtered ? 15 : 0;
  try {
    AcquisitionReader(state, recording.UiSink(), recording.Root()).Open(path, RecordingOpenOptions{false, false});
  } catch (const IoError&) {
  }
  recording.ForgetMessages();
  return 0;
}
