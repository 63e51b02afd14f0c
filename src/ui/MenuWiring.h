#pragma once

namespace velmora {

class TMainF;

// Connects the menu items, the title-bar buttons and the floating panels to the window's
// commands. Items whose feature the workbench does not have yet stay disabled.
class MenuWiring {
 public:
  static void Wire(TMainF& window);

 private:
  static void WireFile(TMainF& window);
  static void WireGeneral(TMainF& window);
  static void WireDisplays(TMainF& window);
  static void WireElectrograms(TMainF& window);
  static void WireSwitches(TMainF& window);
  static void WireMaps(TMainF& window);
  static void WireTitleBar(TMainF& window, int pane);
  static void WirePanels(TMainF& window);
  static void WireMiniWindows(TMainF& window);
};

}  // namespace velmora
