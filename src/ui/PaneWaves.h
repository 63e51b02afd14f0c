#pragma once

#include <memory>

#include "maps/MapDrawingHooks.h"
#include "waves/WaveMap.h"

class QFrame;
class QLabel;
class QWidget;

namespace velmora {

struct AnalysisState;
class PanePanel;
class Ui;

// The wave-map panes. The waves are calculated before the pane is painted, with the panel
// "Calculating Wave maps ....." counting the waves and the window answering in between; a
// redraw asked for meanwhile leaves the wave panes as they are until the waves are done.
class PaneWaves {
 public:
  PaneWaves(AnalysisState& state, PanePanel& paneA, PanePanel& paneB, Ui& ui, QWidget* panelParent,
            MapDrawingHooks hooks);
  ~PaneWaves();

  // The full redraw of the wave map in pane 1 (A) or 2 (B). Returns whether it moved the
  // first trace (automatic positioning), so the electrogram pane wants redrawing.
  bool Draw(int pane);
  // "composite wave map", drawn in the active pane when it shows a wave map, else in pane A.
  void DrawComposite();

  const WaveMap& Waves() const { return *waves_; }
  // The waves, calculated first (with the panel) when they are stale.
  const WaveMap& CalculatedWaves();
  QFrame* ProgressPanel() const { return panel_; }

 private:
  PanePanel& Panel(int pane) const;
  void CalculateWaves();
  WaveProgress Progress();

  AnalysisState& state_;
  PanePanel& paneA_;
  PanePanel& paneB_;
  Ui& ui_;
  MapDrawingHooks hooks_;
  std::unique_ptr<WaveMap> waves_;
  QFrame* panel_ = nullptr;
  QLabel* waveNr_ = nullptr;
  bool calculating_ = false;
  bool cancelRequested_ = false;  // the Cancel button of the calculating panel, since it showed
};

}  // namespace velmora
