#pragma once

namespace velmora {

class TMainF;

// Waves > "Wave Table", "Wave Plots" and "Spectrum ...", and File > "Report ...".
class ResultsWiring {
 public:
  static void Wire(TMainF& window);
};

}  // namespace velmora
