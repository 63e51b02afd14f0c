#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "maps/TimeGrid.h"
#include "maps/VelocityEstimate.h"

namespace velmora {

// What kind of propagation a wave shows, judged from its activation times on the grid.
enum class Pattern { Normal, Retrograde, Ectopic, Collision, Block, Other };

// The rules, in the order they are tried:
// 1. block: at least kBlockElectrodes electrodes inside the wave's extent (the columns and
//    rows its sites span) have no time in this wave but one in the waves before and after;
// 2. collision: the wave has two or more separate origins (below);
// 3. ectopic: its one origin lies kInsideDistance or more electrodes from every border and
//    the wave spreads outward from it: the velocities point away from the origin (mean
//    cosine at least kOutwardCosine) and the wave reaches at least three of the four sides
//    around it;
// 4. normal / retrograde: its origin lies nearer a border than that and its direction is
//    within kPatternAngle degrees of the normal direction / of the opposite;
// 5. other.
//
// Origins are looked for in the times smoothed by the median of each site and its wave
// neighbours, so one false time (a dead electrode marked on noise) neither makes an origin
// nor hides one. Then the sites in time order are joined to their eight neighbours as they activate;
// where two groups meet, the one that started later is a separate origin when it had grown
// for at least the prominence (a fifth of the wave's duration, at least kLeastProminenceMs).
// A dip of a few ms at a border, or a gap of one electrode, therefore never makes a second
// origin, while two fronts that each crossed part of the array do.
class PropagationPattern {
 public:
  static constexpr int kPatterns = 6;  // Normal .. Other
  static constexpr int kBlockElectrodes = 3;
  static constexpr int kInsideDistance = 2;
  static constexpr double kPatternAngle = 45;
  static constexpr double kOutwardCosine = 0.5;
  static constexpr int kOutwardSides = 3;
  static constexpr double kProminenceShare = 0.2;
  static constexpr double kLeastProminenceMs = 100;

  struct Site {
    int col = 0, row = 0;
    double timeMs = 0;
  };
  // One wave with what the rules read besides its own times.
  struct Wave {
    int cols = 0, rows = 0;          // the grid
    std::vector<Site> sites;
    TimeGrid times{0, 0};            // the same sites on the grid
    const TimeGrid* before = nullptr;  // the waves either side, when there are
    const TimeGrid* after = nullptr;
    const std::vector<bool>* electrodes = nullptr;  // grid positions holding an electrode, column outer
    std::vector<VelocityEstimate> velocities;
    std::optional<double> directionDeg;  // the wave's direction (arrows' convention)
    double normalDeg = 0;
  };

  static const char* Name(Pattern pattern);
  static std::optional<Pattern> Named(const std::string& name);

  // Each site's time replaced by the median of its own and its eight neighbours' in the wave.
  static std::vector<Site> Smoothed(const std::vector<Site>& sites, int cols, int rows);
  // Indices into `sites` of the wave's origins: the earliest site first, then the others in
  // time order.
  static std::vector<size_t> Origins(const std::vector<Site>& sites, double prominenceMs);
  static double Prominence(const std::vector<Site>& sites);
  static Pattern Classify(const Wave& wave, const std::vector<size_t>& origins);

  // Electrodes inside the wave's extent silent in it but active in the waves either side.
  static int BlockedElectrodes(const Wave& wave);
  static bool Inside(const Wave& wave, const Site& site);
  static bool SpreadsOutward(const Wave& wave, const Site& origin);
  // Smallest angle between two directions, 0..180.
  static double AngleBetween(double a, double b);
};

}  // namespace velmora
