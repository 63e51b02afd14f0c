#include "commands/GridKeys.h"

#include <algorithm>

#include "core/AnalysisState.h"
#include "core/Ui.h"

namespace velmora {

bool GridKeys::Move(AnalysisState& s, Ui& ui, Key key) {
  int col = s.FirstCol;
  int row = s.FirstRow;
  if (key == Key::Right) ++col;
  if (key == Key::Left) --col;
  if (key == Key::Down) ++row;
  if (key == Key::Up) --row;
  if (col < 1 || col > s.NrCols || row < 1 || row > s.NrRows) {
    ui.Beep();
    return false;
  }
  s.FirstCol = col;
  s.FirstRow = row;
  int channel = s.GridCell(col, row);
  if (channel != -1) {
    // A page starts a page of traces above or below the cell's channel.
    if (key == Key::PageUp) channel = channel - s.NrTraces + 1;
    if (key == Key::PageDown) channel = channel + s.NrTraces - 1;
  }
  channel = std::max(1, channel);
  if (channel + s.NrTraces > kChannels) channel = std::max(1, kChannels - s.NrTraces);
  s.FirstChannel = channel;
  return true;
}

}  // namespace velmora
