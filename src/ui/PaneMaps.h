#pragma once

#include <cstdint>
#include <utility>

#include "maps/MapDrawingHooks.h"

namespace velmora {

struct AnalysisState;
class PanePanel;

// The map panes and the one map grid they share. Drawing a map fills the grid with that
// pane's map; with a map in each pane it then holds the one drawn last. The pointer caption,
// the map keys and the clicks need the values and cell sizes of the map under the pointer,
// so they ask for that pane's map: the grid is filled again, which costs far less than a
// redraw, and only when it holds the other pane's.
class PaneMaps {
 public:
  PaneMaps(AnalysisState& state, PanePanel& paneA, PanePanel& paneB, MapDrawingHooks hooks)
      : state_(state), paneA_(paneA), paneB_(paneB), hooks_(std::move(hooks)) {}

  // The full redraw of the map in pane 1 (A) or 2 (B).
  void Draw(int pane);
  // Leaves the grid and the cell sizes those of the map pane `pane` shows; nothing when the
  // pane shows no map.
  void HoldMapOf(int pane);
  // The value the cell under the pointer holds in a map of `mapKind`: NoValue off the grid
  // or in a cell without an electrode (such a cell may still hold what an earlier matrix or
  // an expansion left there).
  int32_t CellValueUnderPointer(int mapKind) const;
  // Something else (a wave map) has been drawn into the grid.
  void ForgetHeldMap() { heldPane_ = 0; }

 private:
  PanePanel& Panel(int pane) const { return pane == 2 ? paneB_ : paneA_; }
  // The window and kind of the pane's map, as the fill and the drawing read them.
  void TakeMapSettings(int pane);

  AnalysisState& state_;
  PanePanel& paneA_;
  PanePanel& paneB_;
  MapDrawingHooks hooks_;
  int heldPane_ = 0;  // whose map the grid holds; 0 before any
};

}  // namespace velmora
