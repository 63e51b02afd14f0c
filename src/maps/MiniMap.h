#pragma once

#include <cstdint>
#include <string>

#include "core/Canvas.h"
#include "maps/MiniGrid.h"

namespace velmora {

struct AnalysisState;
class Ui;

// The mini map: a dot per grid position with the electrodes of the electrogram pane framed.
// The pointer over it reads out the grid position and its electrode; a click makes the
// electrogram pane start at that electrode. The electrode under the pointer is all it keeps.
class MiniMap {
 public:
  static constexpr int kLeft = 1, kTop = 1, kSpacing = 10;
  static constexpr int kOutside = -1;  // the pointer is beyond the grid
  // The surface of windows and buttons the map lies on.
  static constexpr Colour kButtonFace = 0xF0F0F0;

  struct Position {
    int column = 0, row = 0;
    int32_t electrode = kOutside;
  };

  explicit MiniMap(AnalysisState& state) : state_(state) {}

  static MiniGrid::Size PaintBoxSize(const AnalysisState& state);
  static MiniGrid::Size WindowSize(const AnalysisState& state);
  void DrawMiniMap(Canvas& canvas) const;

  // The pointer at (x, y) of the paint box; returns the window caption it reads out.
  std::string MiniPaintMouseMove(int x, int y);
  static Position PositionAt(const AnalysisState& state, int x, int y);
  static std::string Caption(const Position& position);
  // Starts the electrogram pane at the electrode under the pointer. Returns whether the
  // panes are to be redrawn (nothing happens with the pointer beyond the grid).
  bool FormClick(Ui& ui);

  int32_t MiniElectrode() const { return miniElectrode_; }

 private:
  AnalysisState& state_;
  int32_t miniElectrode_ = kOutside;
};

}  // namespace velmora
