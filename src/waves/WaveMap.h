#pragma once

#include <cstdint>
#include <functional>

#include "maps/MapDrawingHooks.h"
#include "waves/WaveSearch.h"

namespace velmora {

struct AnalysisState;
class Canvas;
class Ui;

// Size of the wave in the map grid: the cells holding a value and the columns and rows they
// span. The centre keeps its last value while the grid is empty.
struct WaveStats {
  int32_t SiteCount = 0;
  int32_t MinCol = 0, MaxCol = 0, MinRow = 0, MaxRow = 0;
  int32_t XSize = 0, YSize = 0;
  int32_t CentreX = 0, CentreY = 0;
};

// What the window shows while the waves are calculated; every part is optional.
struct WaveProgress {
  std::function<void()> Begin;
  std::function<void(int wave)> Wave;  // before each wave number is tried
  std::function<void()> End;
  // After each wave is started: whether the user asked to stop (the panel's Cancel button).
  std::function<bool()> CancelAsked;
};

// The wave-map pane: keeps the waves of the recording (recalculated when marks were added
// or the user asked), copies one wave into the map grid, draws it with its size, lets the
// electrogram pane follow it, and paints the composite of the first waves.
class WaveMap {
 public:
  // The redraw of a wave-map pane; FocusA/FocusB say which pane it is.
  void MapWave(AnalysisState& state, Canvas& canvas, int paneWidth, int paneHeight, Ui& ui,
               const WaveProgress& progress, const MapDrawingHooks& hooks);
  // Recalculates the waves when they are stale; returns whether it did.
  bool CalculateWavesIfStale(AnalysisState& state, Ui& ui, const WaveProgress& progress);

  void LoadMapBuf(AnalysisState& state, int wave) const;
  void DisplayWave(AnalysisState& state, Canvas& canvas, int paneWidth, int paneHeight);
  void CalcWaveStats(const AnalysisState& state);
  void DisplayWaveStats(const AnalysisState& state, Canvas& canvas) const;
  void AutomaticPositionElectrograms(AnalysisState& state);

  // Paints waves 1..the focused pane's wave number, each of at least MinWaveSites sites, by
  // number, later waves over earlier ones. The waves of the pane are left as they were.
  void CompositeWaveMap(AnalysisState& state, Canvas& canvas, int paneWidth, int paneHeight, Ui& ui);

  const WaveSearch& Search() const { return search_; }
  const WaveStats& Stats() const { return stats_; }
  int CurWaveNr() const { return curWaveNr_; }

  // The wave number a pane may show: 1..the table's waves (above NrWaves the map is empty).
  static int32_t ClampWaveNr(int32_t wave);

 private:
  static int32_t FocusedWaveNr(const AnalysisState& state);
  void DrawWaveCells(const AnalysisState& state, Canvas& canvas) const;
  void LoadCompositeWaves(AnalysisState& state, const WaveSearch& composite, int count, Ui& ui) const;
  int CalcNumberSites(const AnalysisState& state, const WaveSearch& search, int wave) const;

  WaveSearch search_;
  WaveStats stats_;
  int curWaveNr_ = 0;
  int lastWaveNr_ = 0;
  bool waveChanged_ = false;
  int32_t minSitesUsed_ = 1;  // MinSitesPerWave of the waves held
};

}  // namespace velmora
