#pragma once

#include <cstdint>

namespace velmora {

struct AnalysisState;
class AutomaticMarking;
class Ui;

// The rectangle dragged over pane A with Ctrl held. Once fixed, the next click marks
// automatically inside it and "D" deletes the marks of pane A's kind inside it, on every
// trace whose centre line lies strictly inside the rectangle, over the rectangle's time span.
class RectangleSelection {
 public:
  RectangleSelection(AnalysisState& state, Ui& ui) : state_(state), ui_(ui) {}

  // Stretches the rectangle from the anchor to the pointer (ShapeLeft..ShapeBottom).
  void StretchToPointer();
  // Searches every trace inside and marks what it finds. Returns the number of marks added.
  int MarkInside(AutomaticMarking& marking);
  // Deletes the marks of pane A's kind (and references) inside; nothing goes on the undo list.
  int DeleteInside();

 private:
  int32_t TimeAt(int x) const;
  template <typename Action>
  int ForTracesInside(Action action);

  AnalysisState& state_;
  Ui& ui_;
};

}  // namespace velmora
