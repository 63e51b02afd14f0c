#include "MapBenchState.h"

#include <cstdint>

#include "core/Limits.h"

namespace velmora::bench {

std::unique_ptr<AnalysisState> FullMapState() {
  auto s = std::make_unique<AnalysisState>();
  SetDefaults(*s);
  s->NrCols = kMapCols;
  s->NrRows = kMapRows;
  s->ElectrodeDistance = 1.5;
  for (int i = 0; i < kMapCells; ++i) {
    const int channel = 17 + i, col = 1 + i % kMapCols, row = 1 + i / kMapCols;
    s->ElectrodeX[size_t(channel - 1)] = col;
    s->ElectrodeY[size_t(channel - 1)] = row;
    s->GridCell(col, row) = channel;
  }
  for (int n = 0; n < kStartMarkSlots; ++n) {
    const int cell = n % kMapCells;
    MarkRecord& m = s->Mark(++s->MarkCount);
    m = MarkRecord{};
    m.Electrode = uint16_t(17 + cell);
    m.Kind = kSlowWave;
    m.Time = ((cell % kMapCols) * kMapRows + cell / kMapCols) * 245 + (n / kMapCells) * 7;
  }
  s->ActivePane = 1;
  s->MarkType = {1, 1};
  s->CurMapKind = 0;
  s->ReferenceTime = 0;
  s->MapBegin = 0;
  s->MapWindow = 60000;
  s->SigLength = 60000;
  return s;
}

}  // namespace velmora::bench
