#pragma once

namespace velmora {

class TMainF;

// Makes the preferences window, hidden, and connects "Preferences ..." to it; the panes
// redraw whenever it closes.
class PreferencesWiring {
 public:
  static void Wire(TMainF& window);
};

}  // namespace velmora
