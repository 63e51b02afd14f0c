#pragma once

#include <cstdint>

#include "core/Limits.h"

namespace velmora {

// One cell of a map over the electrode grid.
struct MapCell {
  int32_t Value = kNoValue;  // time, count, channel, interval or wave number; AltNoValue = excluded
  double Velocity = kNoValue;
  uint8_t Expanded = 0;      // 1 = filled in by expansion or interpolation
  double Amplitude = kNoValue;
  double Slope = kNoValue;
  double Frequency = kNoValue;  // cycles per minute, the frequency map
  double Quality = kNoValue;  // the electrode's quality (quality map; Value then holds its verdict)
};

// Map kinds from the amplitude map on hold reals; the frequency map is the last kind.
inline constexpr uint8_t kFirstRealMapKind = 4;
inline constexpr uint8_t kQualityMap = 7;
inline constexpr uint8_t kFrequencyMapKind = 8;

// The real value a cell holds for a map kind that holds reals.
inline double RealCellValue(const MapCell& cell, uint8_t mapKind) {
  if (mapKind == 4) return cell.Amplitude;
  if (mapKind == 5) return cell.Slope;
  if (mapKind == kQualityMap) return cell.Quality;
  if (mapKind == kFrequencyMapKind) return cell.Frequency;
  return cell.Velocity;
}

// The conduction velocity of the grid square whose top-left cell has the same index.
struct VelocityCell {
  double Speed = kNoValue;   // cm/s
  double Direction = 0;      // degrees, 0 <= d < 360
  int32_t StartX = 0, StartY = 0, EndX = 0, EndY = 0;
  int32_t Head1X = 0, Head1Y = 0, Head2X = 0, Head2Y = 0;
};

// Pixel rectangle of the map area last drawn.
struct PixelRect {
  int32_t Left = 0, Top = 0, Width = 0, Height = 0;
};

}  // namespace velmora
