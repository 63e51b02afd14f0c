#pragma once

namespace velmora {

struct AnalysisState;
class Ui;

// The map menu's items that change how the map is computed. Each returns whether the
// display is to be redrawn.
class MapMenuCommands {
 public:
  // "Expand Map": flips ExpandMap (the item's check mark shows it); redraws only when the
  // expansion was turned on, since turning it off keeps the values already filled in.
  static bool ToggleExpandMap(AnalysisState& state);
  // "remove Expand": clears the expanded flag of every cell of the grid and beeps.
  static bool RemoveExpand(AnalysisState& state, Ui& ui);
  // "show SW's + spikes": flips ShowSWsSpikes.
  static bool ToggleSWsSpikes(AnalysisState& state);
};

}  // namespace velmora
