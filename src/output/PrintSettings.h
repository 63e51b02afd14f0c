#pragma once

#include <cstdint>
#include <string>

#include "maps/MapDrawingHooks.h"

namespace velmora {

class WaveMap;

// The print window's choices, kept from one print to the next.
struct PrintSettings {
  int32_t PrintPanel = 0;        // 0 pane A (top or left), 1 pane B, 2 both
  int32_t PrintOrientation = 0;  // 0 landscape, 1 portrait
  std::string PrintCaption;      // the line at the top of the page
  // What the status block names the page by: set by printing a map or wave-map pane A and
  // left as it was by everything else.
  std::string PaneCaption;
};

// What the page takes from the main window besides the analysis state.
struct PrintSources {
  std::string TitleBarA, TitleBarB;  // the panes' title texts
  // Fill and expand the map grid (and the velocities) as the map panes do.
  MapDrawingHooks MapHooks;
  // The waves of the wave-map panes; without them a wave-map pane prints the grid as it is.
  const WaveMap* Waves = nullptr;
};

}  // namespace velmora
