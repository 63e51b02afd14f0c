#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "core/AnalysisState.h"

namespace velmora::testing {

// Puts `channel` at grid cell (col, row) of `state`; a place off the grid (-1, -1) takes it
// off the grid, with no cell to write.
inline void PlaceChannel(AnalysisState& state, int channel, int col, int row) {
  state.ElectrodeX[size_t(channel - 1)] = col;
  state.ElectrodeY[size_t(channel - 1)] = row;
  if (col >= 1 && row >= 1 && col <= kMaxGridCols && row <= kMaxGridRows) state.GridCell(col, row) = channel;
}

// A fresh state with start values and a small electrode layout placed by hand.
class MapFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    SetDefaults(*s);
    s->NrCols = 4;
    s->NrRows = 3;
    s->ActivePane = 1;
    s->MarkType = {1, 1};
    s->ReferenceTime = 0;
    s->MapBegin = 0;
    s->MapWindow = 10000;
  }
  // Puts `channel` at grid cell (col, row).
  void Place(int channel, int col, int row) { PlaceChannel(*s, channel, col, row); }
  int AddMark(int electrode, int kind, int time, int visible = 1) {
    MarkRecord& m = s->Mark(++s->MarkCount);
    m = MarkRecord{};
    m.Electrode = uint16_t(electrode);
    m.Kind = int16_t(kind);
    m.Time = time;
    m.Visible = int16_t(visible);
    return s->MarkCount;
  }
  MapCell& At(int col, int row) { return s->Cell(col, row); }

  std::unique_ptr<AnalysisState> s = std::make_unique<AnalysisState>();
};

}  // namespace velmora::testing
