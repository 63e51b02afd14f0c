#pragma once

#include <string>
#include <vector>

namespace velmora {

struct SampleSettings;
struct Activation;

// The fronts of generated recordings and what they are known to be: the true activation
// time, speed and direction anywhere on the grid, to measure velocity estimates against.
//
// Positions are in grid cells (column 1's centre is x = 1, row 1's is y = 1, rows growing
// down the screen); directions in degrees counter-clockwise as the map's arrows count them:
// 0 towards increasing columns, 90 up the screen (towards decreasing rows), as the sample's
// --direction. A planar front runs in the settings' direction; a radial front spreads at the
// same speed from a point source that sits between four electrodes a third of the way into
// the grid, so its fronts are circles, tightly curved near the source.
class SampleFront {
 public:
  struct Point {
    double x = 0, y = 0;
  };
  struct Motion {
    double speedMmPerS = 0;
    double directionDeg = 0;
  };

  static Point Source(const SampleSettings& settings);
  // Activation offsets of every grid cell within one wave, in ms, the earliest at 0, row by row.
  static std::vector<double> CellOffsets(const SampleSettings& settings);
  // The front's motion at a grid position (at the source itself a radial front has no direction).
  static Motion TrueMotion(const SampleSettings& settings, double x, double y);

  // The text of the truth file written beside a generated recording: the settings, the dead
  // electrodes, and per activation the exact time, the recorded (jittered, whole ms) time,
  // speed and direction.
  static std::string TruthText(const SampleSettings& settings, const std::vector<Activation>& recorded,
                               const std::vector<int>& deadChannels);
};

}  // namespace velmora
