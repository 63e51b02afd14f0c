#pragma once

namespace velmora {

class TMainF;

// Connects "Save picture ..." and "Copy picture" of the File menu (the active pane) and of
// each pane's title bar (that pane) to the window's pane pictures.
class PictureWiring {
 public:
  static void Wire(TMainF& window);
};

}  // namespace velmora
