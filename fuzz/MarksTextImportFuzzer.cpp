// "Marks from .txt file": read, then added to the store of a loaded recording, whose marks
// are put back to none before each run so that every run starts alike.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "FuzzRecording.h"
#include "core/AnalysisState.h"
#include "core/Errors.h"
#include "marks/MarkIntervals.h"
#include "output/MarksTextImport.h"

using namespace velmora;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::FuzzRecording& recording = fuzz::FuzzRecording::Shared();
  AnalysisState& state = recording.State();
  state.MarkCount = 0;
  try {
    const MarksTextImport::Contents contents =
        MarksTextImport::Parse("fuzz.txt", std::string(reinterpret_cast<const char*>(data), size));
    MarksTextImport::Apply(state, "fuzz.txt", contents);
    if (state.MarkCount != int(contents.marks.size())) std::abort();
    MarkIntervals::CalcMarkIntervals(state);
  } catch (const IoError&) {
  }
  recording.ForgetMessages();
  return 0;
}
