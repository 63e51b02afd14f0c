// Connection files, read into the table and written back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "FuzzRecording.h"
#include "core/Errors.h"
#include "maps/ConnectionFile.h"

using namespace velmora;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::FuzzRecording& recording = fuzz::FuzzRecording::Shared();
  AnalysisState& state = recording.State();
  const std::string text(reinterpret_cast<const char*>(data), size);
  try {
    ConnectionFile::ApplyConnections(state, recording.UiSink(), ConnectionFile::Parse("fuzz.C00", text));
  } catch (const IoError&) {
    recording.ForgetMessages();
    return 0;
  }
  recording.ForgetMessages();
  // What the workbench writes it must read again.
  ConnectionFile::DropDuplicates(state);
  try {
    ConnectionFile::Parse("again.C00", ConnectionFile::Serialize(state, "again.C00"));
  } catch (const IoError&) {
    std::abort();
  }
  return 0;
}
