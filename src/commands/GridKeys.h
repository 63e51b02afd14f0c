#pragma once

namespace velmora {

struct AnalysisState;
class Ui;

// The arrow and page keys: they move the first trace through the electrode grid.
class GridKeys {
 public:
  enum class Key { Left, Right, Up, Down, PageUp, PageDown };

  // Moves FirstCol/FirstRow and sets FirstChannel from the grid. Beeps and changes nothing
  // when the move would leave the grid. Returns whether anything changed.
  static bool Move(AnalysisState& state, Ui& ui, Key key);
};

}  // namespace velmora
