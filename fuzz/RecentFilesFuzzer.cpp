// The recent-files list, read into the state.
#include <cstddef>
#include <cstdint>

#include "FuzzRecording.h"
#include "FuzzScratch.h"
#include "core/Errors.h"
#include "input/RecentFiles.h"

using namespace velmora;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::FuzzRecording& recording = fuzz::FuzzRecording::Shared();
  const std::string path = fuzz::FuzzScratch::Write("FileList.Txt", data, size);
  try {
    RecentFiles::Read(recording.State(), path, recording.UiSink());
    RecentFiles::Push(recording.State(), "E00", "/tmp/fuzz.E00");
  } catch (const IoError&) {
  }
  recording.ForgetMessages();
  return 0;
}
