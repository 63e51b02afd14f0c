// New-format matrix files, read and, when accepted, put into the grid.
#include <cstddef>
#include <cstdint>

#include "FuzzRecording.h"
#include "FuzzScratch.h"
#include "core/Errors.h"
#include "input/MatrixFile.h"

using namespace velmora;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = fuzz::FuzzScratch::Write("matrix.txt", data, size);
  try {
    MatrixFile::Apply(fuzz::FuzzRecording::Shared().State(), MatrixFile::ReadNew(path));
  } catch (const IoError&) {
  }
  return 0;
}
