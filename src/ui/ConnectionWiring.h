#pragma once

namespace velmora {

class TMainF;

// The menu items of the connections: "Make Connections" and "File > Import > Connections".
// The "hide connections" switch is wired with the other display switches.
class ConnectionWiring {
 public:
  static void Wire(TMainF& window);
};

}  // namespace velmora
