#pragma once

namespace velmora {

class TMainF;

// Connects File › Export › "to Mac", "to RealBasic" and "Export animation ...".
class ExportWiring {
 public:
  static void Wire(TMainF& window);
};

}  // namespace velmora
