#pragma once

#include <cstdint>
#include <vector>

#include "core/Canvas.h"

namespace velmora {

struct AnalysisState;

// The small overview of the electrode grid beside the electrograms: a dot per grid position
// and a frame around each electrode the electrogram pane shows. It draws on a paint box of
// its own and keeps nothing between redraws.
class MiniGrid {
 public:
  static constexpr int kSpacing = 8;  // pixels from one grid position to the next

  struct Size {
    int width = 0, height = 0;
    bool operator==(const Size&) const = default;
  };
  struct Frame {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const Frame&) const = default;
  };

  static Size PaintBoxSize(const AnalysisState& state);
  // The window holds the paint box with a margin all round.
  static Size WindowSize(const AnalysisState& state);
  static void DisplayMiniGrid(const AnalysisState& state, Canvas& canvas);
  // The frame around the electrode of `channel` (a channel on the grid).
  static Frame CalcMiniCell(const AnalysisState& state, int32_t channel);

  // The channels the traces of the electrogram pane show, in trace order, leaving out the
  // traces whose channel has no place on the grid: those have nothing to frame.
  static std::vector<int32_t> ShownGridChannels(const AnalysisState& state);
};

}  // namespace velmora
