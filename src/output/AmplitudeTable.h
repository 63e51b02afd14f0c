#pragma once

#include <string>

namespace velmora {

struct AnalysisState;
class DataPadGrid;

// The table "Calc Amplitudes + Slopes" leaves on the data pad: one row per slow wave with a
// computed amplitude, in mark order.
class AmplitudeTable {
 public:
  // Titles in row 0, then electrode, amplitude in mV, MaxValue, MinValue and time in
  // columns 1..5. Needs the amplitudes computed.
  static void Write(const AnalysisState& state, DataPadGrid& grid);
  // Two decimals with a comma between thousands: "1,234.57".
  static std::string MillivoltText(double millivolts);
};

}  // namespace velmora
