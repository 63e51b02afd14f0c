#pragma once

namespace velmora {

class TMainF;

// How the user left the workbench, brought back at the next start: the window's place and
// size, tiling, what each pane showed, the file dialogs' folders and filters, and the
// preferences saved as the user's own defaults. Without saved defaults every run starts
// from the described ones.
class RememberedState {
 public:
  // At start, before the window is shown. Returns true when a window was remembered (its
  // geometry is then set, maximised or not as it was left).
  static bool Restore(TMainF& window);
  // At the end of the run.
  static void Save(TMainF& window);

 private:
  static void RestoreDefaults(TMainF& window);
  static void RestorePanes(TMainF& window);
};

}  // namespace velmora
