#include "maps/MapMenuCommands.h"

#include "core/AnalysisState.h"
#include "core/Ui.h"

namespace velmora {

bool MapMenuCommands::ToggleExpandMap(AnalysisState& s) {
  s.ExpandMap = !s.ExpandMap;
  return s.ExpandMap;
}

bool MapMenuCommands::RemoveExpand(AnalysisState& s, Ui& ui) {
  // Every cell, not only the used part: a later, larger layout must not inherit flags.
  for (MapCell& cell : s.MapGrid) cell.Expanded = 0;
  ui.Beep();
  return true;
}

bool MapMenuCommands::ToggleSWsSpikes(AnalysisState& s) {
  s.ShowSWsSpikes = !s.ShowSWsSpikes;
  return true;
}

}  // namespace velmora
