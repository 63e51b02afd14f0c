#pragma once

#include <cstdint>

namespace velmora {

struct AnalysisState;
class Canvas;
class Ui;

// The mark edits made at the pointer over an electrogram pane (keys D, K, S and R). They
// read PointerX, PointerChannel and PointerTrace and the layout of the pane drawn last.
class MarkPointerEdits {
 public:
  MarkPointerEdits(AnalysisState& state, Ui& ui, Canvas& canvas) : state_(state), ui_(ui), canvas_(canvas) {}

  // The time in ms under PointerX, or NoValue when no pane layout is known yet.
  int32_t PointerTimeMs() const;

  // "D": deletes the marks of the active pane's kind (and references) within 30 samples of the
  // pointer. Every deleted mark goes on the undo list with its own kind. Returns the count;
  // nothing is drawn, the caller redraws the panes.
  int DeleteMark();
  // "K": deletes the slow waves and references of the electrode under the pointer.
  void KillMarks();
  // "S": swaps slow waves and spikes within 100 ms of the pointer. Returns whether any changed.
  bool SwitchMark();
  // "R": draws and adds a reference mark at the pointer.
  void InsertReferenceMark();

 private:
  AnalysisState& state_;
  Ui& ui_;
  Canvas& canvas_;
};

}  // namespace velmora
