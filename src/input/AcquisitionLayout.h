#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/AcquisitionDetails.h"

namespace velmora {

// What the format library says about one signal of an EDF, BDF or GDF file: its name and
// unit, where its samples lie in a data record and how they scale to physical values.
struct SignalLayout {
  std::string label, unit;
  bool voltage = false;        // the unit is volts with a prefix
  double unitToMicrovolts = 0; // for voltage units
  bool annotations = false;    // an EDF+/BDF+ annotation signal
  int64_t samplesPerRecord = 0;
  int typeCode = 0;            // the library's sample type number
  int64_t recordByte = 0;      // where the signal's samples start in a data record
  int64_t recordBit = 0;       // the same in bits: 8 x recordByte for samples of whole bytes
  double scale = 0, shift = 0; // physical = digital x scale + shift
  double digitalMin = 0, digitalMax = 0;
};

// The whole file as the format library reads it, and what the header check found.
struct AcquisitionLayout {
  std::string format;            // "EDF+", "BDF", "GDF 2.51"
  bool discontinuous = false;    // EDF+D / BDF+D: the records are not one after the other in time
  int64_t headerBytes = 0;
  int64_t recordBytes = 0;
  int64_t recordsInHeader = 0;   // -1 while a recording was still running
  double recordSeconds = 0;
  std::vector<SignalLayout> fileSignals;
  std::vector<AcquisitionAnnotation> events;
};

}  // namespace velmora
