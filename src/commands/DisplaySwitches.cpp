#include "commands/DisplaySwitches.h"

#include "core/AnalysisState.h"

namespace velmora {

const std::vector<DisplaySwitches::Entry>& DisplaySwitches::All() {
  using S = AnalysisState;
  static const std::vector<Entry> entries = {
      {"showGrid1", &S::ShowGrid, "hide Grid", "show Grid", "hide Grid"},
      {"ShowMapColor1", &S::ShowMapColor, "hide map colors", "show map colors", "hide colors"},
      {"ShowMapDigit1", &S::ShowMapDigit, "hide map digits", "show map digits", "hide digits"},
      {"PlotIsochrones1", &S::PlotIsochrones, "hide Isochrones", "show Isochrones", "plot Isochrones"},
      {"PlotVelocities1", &S::PlotVelocities, "hide Arrows", "plot Arrows", "plot Arrows"},
      {"ShowElgMarks1", &S::ShowElgMarks, "hide marks", "show marks", "hide marks"},
      {"ShowElgTimes1", &S::ShowElgTimes, "hide mark times", "show mark times", "hide times"},
      {"ShowElgIntervals1", &S::ShowElgIntervals, "hide SW intervals", "show SW intervals", "show  SW intervals"},
      {"showSpikeintervals1", &S::ShowSpikeIntervals, "hide Spike intervals", "show Spike intervals",
       "show Spike intervals"},
      {"showbackgrdcolor1", &S::ShowBackgroundColor, "hide background color", "show background color",
       "hide background color"},
      {"AverageOffsetOn1", &S::AverageOffset, "Average Offset Off", "Average Offset On", "Average Offset Off"},
      {"ShowElgconnections1", &S::ShowElgConnections, "hide connections", "show connections", "hide connections"},
      {"ShowMemoWindow1", &S::MemoVisible, "hide Memo Window", "show Memo Window", "Show Memo Window"},
      {"ShowMapLegend1", &S::ShowMapLegend, "hide Legend", "show Legend", "hide Legend"},
  };
  return entries;
}

const DisplaySwitches::Entry* DisplaySwitches::Find(const std::string& item) {
  for (const Entry& entry : All())
    if (entry.item == item) return &entry;
  return nullptr;
}

std::string DisplaySwitches::Flip(AnalysisState& state, const Entry& entry) {
  bool& flag = state.*entry.flag;
  flag = !flag;
  return flag ? entry.onCaption : entry.offCaption;
}

}  // namespace velmora
