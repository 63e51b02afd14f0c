#pragma once

#include <cstdint>

#include "commands/ViewCommands.h"

namespace velmora {

struct AnalysisState;
class Ui;

// The "Waves" menu and the panes' wave buttons. The wave-number commands of the menu move
// pane A's wave, or pane B's while only B shows a wave map. Each says what to redraw.
class WaveCommands {
 public:
  WaveCommands(AnalysisState& state, Ui& ui) : state_(state), ui_(ui) {}

  // "goto wave nr ...": 1 up to the most waves a recording can have.
  Redraw GotoWaveNr();
  Redraw GotoNextWave();
  Redraw GotoPreviousWave();
  // "W+" and "W-" of pane 1 (A) or 2 (B).
  Redraw StepWave(int pane, int step);
  Redraw ShowStatistics();
  // "change Wave Difference": for the active pane's mark kind.
  Redraw ChangeWaveDifference();
  Redraw CalculateWaves();
  Redraw PlotLocalTimes();
  Redraw AutomaticPositioning();

 private:
  int32_t& MenuWaveNr();

  AnalysisState& state_;
  Ui& ui_;
};

}  // namespace velmora
