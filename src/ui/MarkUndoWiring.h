#pragma once

#include <string_view>

namespace velmora {

class TMainF;

// The Edit menu's "Undo ..." and "Redo ..." (Ctrl+Z, Ctrl+Shift+Z) over the mark edits of the
// loaded recording, and the end of every command that changes marks.
class MarkUndoWiring {
 public:
  static void Wire(TMainF& w);
  // Connects the windows made after the menu (the reference table) that edit marks.
  static void WireWindows(TMainF& w);
  // A command that may have changed marks ends: what it changed becomes one undo step
  // called `name`, and the items name the next step.
  static void CommandEnded(TMainF& w, std::string_view name);
  // The items name the steps they would act on and are disabled when there is none.
  static void UpdateItems(TMainF& w);
};

}  // namespace velmora
