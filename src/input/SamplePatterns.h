#pragma once

#include <optional>
#include <string>
#include <vector>

namespace velmora {

struct SampleSettings;

// How the waves of a generated recording propagate, wave by wave, so that the pattern each
// wave is given can be checked against what the analysis calls it.
//
// Directions here are those of the map arrows: degrees counter-clockwise from "towards
// increasing columns", 90 pointing up the screen (towards decreasing rows). The settings'
// direction is the array's normal direction:
// - normal: a planar front entering from the border and running in the normal direction;
// - retrograde: the same front running the opposite way;
// - ectopic: a circular front spreading from a point source at least two electrodes inside
//   every border (a new place in each wave);
// - collision: a normal and a retrograde front entering from opposite borders at nearly the
//   same time, meeting in the middle fifth of the array;
// - block: every other wave (never the first or last) is a normal front in which a patch of
//   3 x 2 electrodes inside the array stays silent; the waves between are normal;
// - mix: each wave takes one of the five by the seed (a block only between two other waves).
class SamplePatterns {
 public:
  enum class Pattern { Normal, Retrograde, Ectopic, Collision, Block };
  enum class Choice { None, Normal, Retrograde, Ectopic, Collision, Block, Mix };

  struct Motion {
    double speedMmPerS = 0;
    double directionDeg = 0;  // the arrows' convention
  };

  static constexpr int kBlockCols = 3, kBlockRows = 2;
  // Sources and patches keep this many electrodes to every border.
  static constexpr int kInsideDistance = 2;

  static const char* Name(Pattern pattern);
  // "normal", ..., "block", "mix"; nothing for any other text.
  static std::optional<Choice> ChoiceNamed(const std::string& name);
  // Throws std::invalid_argument when the grid is too small for the chosen pattern.
  static void Check(const SampleSettings& settings);

  // The pattern of wave `wave` (0-based) among `waves` waves.
  static Pattern PatternOf(const SampleSettings& settings, int wave, int waves);
  // Per grid cell, row by row: the time the front reaches it after the wave's first
  // activation (ms), or nothing where the wave leaves the electrode silent.
  static std::vector<std::optional<double>> WaveOffsets(const SampleSettings& settings, int wave, int waves);
  // The front's motion at (x, y) in wave `wave` (grid cells, column 1's centre at x = 1).
  static Motion TrueMotion(const SampleSettings& settings, int wave, int waves, double x, double y);
  // "# wave W pattern P" for every wave, for the truth file.
  static std::string TruthLines(const SampleSettings& settings, int waves);
};

}  // namespace velmora
