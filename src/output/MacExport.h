#pragma once

#include <optional>
#include <string>

namespace velmora {

struct AnalysisState;
class Ui;

// "to Mac": what pane A shows as a small file of drawing objects (see DrawingObjectList) for
// drawing programs on other platforms. The map frame with its digits or velocity arrows,
// the electrogram traces with their marks, or one scaled trace per electrode of the grid.
class MacExport {
 public:
  // The items of the "Copy to Mac facility" group, in their order.
  enum class Item { Map = 0, Electrograms = 1, EleMap = 2 };

  // The file's bytes. MapText reads the map grid as last drawn and throws ExportRefused when
  // no map has been drawn. SignalsText reads the electrogram window last drawn (CurBegin,
  // CurWindow) and leaves TraceFirstSample/TraceLastSample at the samples it wrote.
  // EleMapText lays the map cells out for a pane of the given size, writes the window to the
  // memo and throws ExportRefused for an empty window.
  static std::string MapText(const AnalysisState& state);
  static std::string SignalsText(AnalysisState& state);
  static std::string EleMapText(AnalysisState& state, int paneWidth, int paneHeight, Ui& ui);

  // The same, written to `path` through a temporary file and a rename: a failed export
  // leaves an earlier file of that name as it was.
  static void CopyMaptoMac(const AnalysisState& state, const std::string& path);
  static void CopySignalsToMac(AnalysisState& state, const std::string& path);
  static void CopyEleMaptoMac(AnalysisState& state, int paneWidth, int paneHeight, Ui& ui, const std::string& path);

  // "OK" of the copy window: offers the recording's name with ".TXT" in the save dialog and
  // writes the chosen item there. Returns the path written, nothing when the user cancels.
  static std::optional<std::string> SaveCopy(AnalysisState& state, Ui& ui, Item item, int paneWidth,
                                             int paneHeight);
};

}  // namespace velmora
