#pragma once

#include "maps/TimeGrid.h"

namespace velmora {

// A small spatial smoothing of activation times before their differences are taken. Each
// time is averaged with its eight neighbours, but a neighbour only counts together with the
// one opposite it: a front that is straight over the three cells keeps its times exactly, so
// the edges of the grid and the cells around a dead electrode keep their gradient while the
// timing noise of the interior is averaged out. Empty cells stay empty and give nothing.
class VelocitySmoothing {
 public:
  static TimeGrid Smoothed(const TimeGrid& times);
};

}  // namespace velmora
