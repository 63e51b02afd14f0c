#pragma once

#include <cstdint>

namespace velmora {

// One activation mark. The first seven fields are the 16 bytes a mark file holds per record;
// the last three live in memory only.
struct MarkRecord {
  uint16_t Electrode = 0;
  int16_t Kind = 0;       // -1 reference, 1 slow wave, 2 spike, 3 type 3, NoValue deleted
  int32_t Time = 0;       // ms from the start of the recording
  int16_t Spare1 = 0;
  uint16_t Spare2 = 0;
  int16_t Origin = 0;     // 1 by hand, 2 automatic
  uint16_t Spare3 = 0;
  int16_t SerialNr = 0;
  int16_t Visible = 1;    // 0 = hidden from maps
  int16_t Connected = 0;
};

enum MarkKind : int16_t {
  kReferenceMark = -1,
  kSlowWave = 1,
  kSpike = 2,
  kType3 = 3,
};

enum MarkOriginCode : int16_t {
  kByHand = 1,
  kAutomatic = 2,
};

// What the amplitude computation found around one slow-wave mark; Electrode is NoValue
// while nothing has been computed for the mark.
struct AmplitudeRecord {
  int32_t Electrode = -12345;
  int32_t MaxValue = 0;
  int32_t MaxSample = 0;
  int32_t MinValue = 0;
  int32_t MinSample = 0;
  int32_t SteepSample = 0;
  double Slope = 0;  // mV/s, positive for a fall
  int32_t Interval = -12345;
};

// A deleted mark as the undo list keeps it.
struct UndoEntry {
  int32_t Electrode = 0;
  int32_t Time = 0;
  int32_t Kind = 0;
};

}  // namespace velmora
