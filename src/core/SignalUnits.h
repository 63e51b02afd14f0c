#pragma once

#include "core/AnalysisState.h"

namespace velmora {

// Signal units to the millivolt. E00 recordings and the laboratory text layouts store 747 units
// to the millivolt; EDF, BDF and GDF recordings are stored in whole microvolts. Amplitudes,
// slopes, noise, the scale bar and every millivolt read-out divide by the figure of the
// recording loaded.
inline constexpr double kE00UnitsPerMv = 747.0;
inline constexpr double kMicrovoltUnitsPerMv = 1000.0;

inline double UnitsPerMv(const AnalysisState& s) {
  return s.Acquisition.Empty() ? kE00UnitsPerMv : kMicrovoltUnitsPerMv;
}

}  // namespace velmora
