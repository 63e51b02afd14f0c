// Crash journals: found beside the mark file of a loaded recording and replayed into its
// store, whose marks are put back to none before each run. (What follows a replay is what
// follows reading a mark file, which the mark file harness runs.)
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "FuzzRecording.h"
#include "FuzzScratch.h"
#include "core/AnalysisState.h"
#include "core/Errors.h"
#include "marks/MarkJournal.h"

using namespace velmora;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::FuzzRecording& recording = fuzz::FuzzRecording::Shared();
  AnalysisState& state = recording.State();
  const std::string markFile = fuzz::FuzzScratch::Folder() + "/fuzz.M00";
  fuzz::FuzzScratch::Write("fuzz.M00" + std::string(MarkJournal::kSuffix), data, size);
  state.MarkFileName = markFile;
  state.MarkCount = 0;
  try {
    const auto pending = MarkJournal::Find(markFile);
    const int replayed = MarkJournal::Replay(state);
    if (replayed != (pending ? pending->edits : 0)) std::abort();
  } catch (const IoError&) {
  }
  recording.ForgetMessages();
  return 0;
}
