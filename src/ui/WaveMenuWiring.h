#pragma once

namespace velmora {

class TMainF;

// Connects the "Waves" menu and the panes' "W+" and "W-" buttons to the wave commands.
class WaveMenuWiring {
 public:
  static void Wire(TMainF& window);
};

}  // namespace velmora
