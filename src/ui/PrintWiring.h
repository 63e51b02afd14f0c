#pragma once

#include "output/PrintSettings.h"

namespace velmora {

class TMainF;
class TPrintForm;

// Connects "Print" and "Print dialog ..." to the print window; the panes redraw whenever it
// closes.
class PrintWiring {
 public:
  static void Wire(TMainF& window);
  // The print window's controls, laid into its place among the other windows on first use:
  // the menus are wired before those windows are made.
  static TPrintForm& Form(TMainF& window);
  // What a print takes from the window: the panes' captions as printed, and the map and wave
  // computations.
  static PrintSources Sources(TMainF& window);
};

}  // namespace velmora
