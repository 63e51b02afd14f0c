#pragma once

namespace velmora {

class TMainF;

// The data pad's menu items (File > Export's text exports, File > Import > "Marks from .txt
// file", "show Datapad", "Calc Amplitudes + Slopes") and the buttons of its windows.
class DataPadWiring {
 public:
  // The menu items; they find the windows when chosen, since those are made later.
  static void Wire(TMainF& window);
  // The buttons of the data pad and of the electrode panel, once they are made.
  static void WireWindows(TMainF& window);
};

}  // namespace velmora
