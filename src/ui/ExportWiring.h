#pragma once

namespace velmora {

class TMainF;

// Connects File › Export › "to Mac", "to RealBasic" and "Export animation ...", and the
// panes' "Animation" items that play what the film export writes.
class ExportWiring {
 public:
  static void Wire(TMainF& window);
};

}  // namespace velmora
