#pragma once

namespace velmora {

class TMainF;

// Connects File › Export › "to Mac" and "to RealBasic".
class ExportWiring {
 public:
  static void Wire(TMainF& window);
};

}  // namespace velmora
