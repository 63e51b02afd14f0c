#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "core/Canvas.h"

namespace velmora {

struct AnalysisState;

// Pane A as wave forms: the electrogram of every electrode drawn inside its own grid cell,
// over the electrogram window or centred on each electrode's mark. Keep one per pane: the
// vertex buffer is reused from one redraw to the next.
class WaveFormDrawing {
 public:
  struct Layout {
    int cellWidth = 0, cellHeight = 0, left = 0, top = 0;
    double sampleScale = 0;  // pixels per sample
  };

  WaveFormDrawing(AnalysisState& state, Canvas& canvas) : state_(state), canvas_(canvas) {}

  // Draws the whole pane (PaneWidth x PaneHeight) from CurBegin/CurWindow; the signal length
  // follows the window.
  void DrawWaveForms();

  // The cells over the pane; nothing to draw (a zero cell size) when the pane is too small,
  // no grid is loaded or the window is empty.
  static Layout WaveFormLayout(const AnalysisState& state);
  // The sample after which a cell aligned on the mark at `markTime` starts, or nothing when
  // the mark lies outside the electrogram window. Never before the first sample.
  static std::optional<int32_t> AlignedStart(const AnalysisState& state, int32_t markTime);

 private:
  void DrawWaveFormGrid(const Layout& layout);
  void DrawWaveFormLabels(const Layout& layout);
  // The raw time of each cell's earliest mark of pane A's kind in the electrogram window.
  void FillMarkTimes();
  void DrawCellWaveForm(const Layout& layout, int column, int row, int32_t channel);
  int32_t SampleAt(int32_t channel, int32_t sample) const;

  AnalysisState& state_;
  Canvas& canvas_;
  std::vector<int32_t> values_;  // one cell's samples
  std::vector<Point> points_;
};

}  // namespace velmora
