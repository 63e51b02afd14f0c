#pragma once

#include <cstdint>
#include <string>

namespace velmora {

struct AnalysisState;

// The bytes of the data pad's text exports, built from the state alone so that the menu and
// the command-line tool write the same files. Lines end with LF; fields are separated by TABs;
// numbers never carry a locale's separators.
class DataPadExports {
 public:
  // The fixed names of the two exports that need no file dialog; they go beside the recording.
  static constexpr const char* kElectrogramFileName = "Ele12Col.txt";
  static constexpr const char* kTolvarFileName = "Tolvar1.txt";

  // "Electrogram to .txt": the samples of traces 1..12 over the window of the electrogram pane
  // drawn last, one row per ms. A trace without a channel (or a row outside the store) gives 0.
  static std::string ElectrogramText(const AnalysisState& state);
  // "Marks to .txt": the times of every electrode that owns a record; no line end at the end.
  static std::string MarksText(const AnalysisState& state);
  // "Marks to Animation": the marks of the pane's window, both ends included.
  static std::string AnimationText(const AnalysisState& state);
  // "Single Electrogram Marks": every mark time of the top trace's channel.
  static std::string SingleElectrogramText(const AnalysisState& state);
  // "Data in Matrix Text File": the map last computed, one line per grid row; no line end at
  // the end. Throws ExportRefused when no map has been drawn.
  static std::string MatrixText(const AnalysisState& state);
  // "Tolvarn File": ten blocks of 4000 rows of the 24 x 10 array's raw samples. A cell without
  // a channel gives 0.
  static std::string TolvarText(const AnalysisState& state);

  // The lowest channel placed on grid cell (column, row), or NoValue.
  static int32_t CellChannel(const AnalysisState& state, int column, int row);
  // Where an export with a fixed name goes: beside the recording.
  static std::string BesideRecording(const AnalysisState& state, const std::string& fileName);
};

}  // namespace velmora
