#pragma once

#include <vector>

#include "core/Canvas.h"
#include "output/PlotFrame.h"
#include "results/Spectrum.h"

namespace velmora {

// The pictures of a channel's spectrum: its power over frequency (relative to its highest),
// with the dominant frequency marked, and the dominant frequency over the recording.
class SpectrumPlots {
 public:
  static void DrawSpectrum(Canvas& canvas, const PlotArea& area, const Spectrum::Result& spectrum, int channel);
  static void DrawOverTime(Canvas& canvas, const PlotArea& area, const std::vector<Spectrum::Moment>& moments);
};

}  // namespace velmora
