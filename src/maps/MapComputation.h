#pragma once

#include <cstdint>
#include <optional>

namespace velmora {

struct AnalysisState;
class Ui;

// Turns the mark store (and the amplitude records) into one value per cell of the map grid
// for the map kind of the pane being drawn, fills gaps on request, and answers which
// channel sits where. Every loop runs over columns 1..NrCols and rows 1..NrRows, clamped
// to the 100 x 100 the grids hold, so a 64-column layout maps in full.
class MapComputation {
 public:
  // Enters the values of CurMapKind for the active pane's mark kind and the map window.
  static void FillMapGrid(AnalysisState& state);
  // Fills NoValue cells from their four neighbours, NrExpandCycles times, in place.
  static void ExpandMapGrid(AnalysisState& state);
  // Fills the (empty) cell of one channel from its eight neighbours; logs what it did.
  static void InterpolateElectrode(AnalysisState& state, int32_t channel, Ui& ui);
  // Time of the latest mark of `channel` of the active pane's mark kind before `time`,
  // or NoValue.
  static int32_t PreviousMarkTime(const AnalysisState& state, int32_t channel, int32_t time);
  // The highest channel placed at (column, row), NoValue when none; nothing outside the
  // used part of the grid.
  static std::optional<int32_t> ChannelAt(const AnalysisState& state, int column, int row);

  // True when the channel has a cell on the grid.
  static bool OnGrid(const AnalysisState& state, int32_t channel);
  // Columns and rows in use, never beyond what the grids hold.
  static int UsedCols(const AnalysisState& state);
  static int UsedRows(const AnalysisState& state);
  // The neighbours a gap needs before it is filled; at least 1, so a setting of 0 or less
  // can never make an average of nothing.
  static int RequiredNeighbours(const AnalysisState& state);
  // True when (column, row) holds an electrode and a real value: the cells that count as
  // data for statistics and isochrones.
  static bool HoldsMapValue(const AnalysisState& state, int column, int row);
};

// Free-function spelling, as the rest of the program calls these.
inline void FillMapGrid(AnalysisState& state) { MapComputation::FillMapGrid(state); }
inline void ExpandMapGrid(AnalysisState& state) { MapComputation::ExpandMapGrid(state); }

}  // namespace velmora
