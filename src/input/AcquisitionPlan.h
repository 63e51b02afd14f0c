#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/AcquisitionDetails.h"
#include "input/AcquisitionHeaderCheck.h"
#include "input/AcquisitionLayout.h"

namespace velmora {

// What of an EDF, BDF or GDF file becomes the recording: which signals are electrode
// channels (signal n is channel n), the rate of the store's rows, the whole data records to
// read and what the user is told about the rest. Row r of the store holds sample r + 1 of
// each electrode signal, whose time is (r + 1) / rate s on the file's own axis, so sample
// number t is at t x 1000 / rate ms there.
struct AcquisitionPlan {
  std::vector<AcquisitionSignal> fileSignals;  // every signal of the file, in file order
  std::vector<int> electrodes;             // indices into `signals`
  std::vector<int64_t> byteOffsets;        // of each signal in a data record
  int64_t samplesPerRecord = 0;            // of the electrode signals
  int rateHz = 0;
  int64_t records = 0;
  int64_t rows = 0;
  std::vector<std::string> warnings;

  // Throws IoError naming `path` when nothing can be loaded.
  static AcquisitionPlan Make(const std::string& path, const AcquisitionHeaderCheck::Facts& facts,
                              const AcquisitionLayout& layout, int64_t fileSize);
};

}  // namespace velmora
