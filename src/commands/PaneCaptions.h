#pragma once

#include <cstdint>
#include <string>

#include "core/Canvas.h"

namespace velmora {

struct AnalysisState;

// The texts of the title bars and the status bar, and the pointer read-outs behind them.
class PaneCaptions {
 public:
  // Sets PointerTime, PointerTrace and PointerChannel from PointerX/PointerY and the layout
  // of the electrogram pane drawn last.
  static void UpdateElectrogramPointer(AnalysisState& state);
  // Sets PointerCol, PointerRow and PointerCellChannel from PointerX/PointerY and the cell size;
  // the channel is -1 off the grid and NoValue in a cell without an electrode.
  static void UpdateMapPointer(AnalysisState& state);

  // "(begin-end) time msec     Elenr = channel"
  static std::string ElectrogramCaption(const AnalysisState& state, int32_t begin, int32_t window);
  // name (begin-end) colxrow (Cell = channel) ( t = value); `value` is the map value of the
  // cell under the pointer, or NoValue.
  static std::string MapCaption(const AnalysisState& state, int markType, int mapKind, int32_t begin, int32_t window,
                                int32_t value);
  static std::string WaveMapCaption(const AnalysisState& state, int markType, int waveNr);
  // The caption of pane `pane` (1 = A, 2 = B) on paper: its title bar without the pointer's
  // read-out, which means nothing there. Empty for a pane whose caption is made elsewhere
  // (the animation).
  static std::string PrintedCaption(const AnalysisState& state, int pane);
  static std::string MapName(int markType, int mapKind);
  static Colour TitleBarColour(int markType);

  struct StatusTexts {
    std::string fileName, matrixName, referenceTime, sigLength, amplification;
  };
  static StatusTexts StatusBar(const AnalysisState& state);
  // A number with two decimals and thousands separators: 1234.5 gives "1,234.50".
  static std::string GroupedTwoDecimals(double value);
  // The same with `decimals` decimals (0 writes no point).
  static std::string GroupedDecimals(double value, int decimals);
};

}  // namespace velmora
