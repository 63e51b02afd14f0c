#pragma once

#include <cstdint>

namespace velmora {

struct AnalysisState;
class AutomaticMarking;
class Canvas;
class Ui;

// What a click, a double click or a zoom does at the pointer. The window passes the pane's
// layout in the state (PointerX/Y, TraceLeft, SampleWidth, ...) and a canvas that draws on
// the clicked pane; the commands say whether the panes need redrawing.
class PointerCommands {
 public:
  PointerCommands(AnalysisState& state, Ui& ui, AutomaticMarking& marking)
      : state_(state), ui_(ui), marking_(marking) {}

  // A click inside the trace area of an electrogram pane: the first click after a load only
  // arms; later ones set a mark by hand at the pointer. Returns whether a mark was added.
  bool ClickOnElectrograms(Canvas& canvas);
  // The manual mark: kind of the active pane, time under the pointer, drawn at once.
  bool ManualMark(Canvas& canvas);
  // Shift + click: searches around the pointer with the kind's search width and criterion,
  // and marks and draws what it finds. A failed search beeps and marks nothing.
  bool AssistedMark(Canvas& canvas);
  // A click on a map or wave-map pane: the cell's channel becomes the first trace, and in the
  // free order it is toggled in the free list. `freeOrderToo` says whether this pane's click
  // edits the free list. Returns whether the electrogram panes need redrawing.
  bool ClickOnMap(bool isMapPane, bool freeOrderToo);
  // Adds `channel` to the free trace list, or takes it out when it is there already; a full
  // list (NrTraces entries) drops its oldest entry first.
  void ToggleFreeChannel(int32_t channel);
  // "+ zoom" (narrow) and "- zoom" (widen) around the pointer time, for pane 1 or 2.
  void CalcNewZoom(int pane, bool narrow);
  // The pointer lies inside the trace area of the electrogram pane drawn last.
  bool InTraceArea() const;

 private:
  void DrawMarkLine(Canvas& canvas, int x, int kind, int32_t time);

  AnalysisState& state_;
  Ui& ui_;
  AutomaticMarking& marking_;
};

}  // namespace velmora
