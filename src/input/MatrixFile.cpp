#include "input/MatrixFile.h"

#include <algorithm>
#include <cmath>

#include <fmt/format.h>

#include "core/AnalysisState.h"
#include "core/Errors.h"
#include "core/TextReader.h"

namespace velmora {

namespace {

void CheckGridSize(const TextReader& in, const MatrixFileContents& m) {
  if (m.NrCols < 0 || m.NrRows < 0 || m.NrCols > kMaxGridCols || m.NrRows > kMaxGridRows)
    throw ConversionError(in.Path(), in.LineNumber(),
                          fmt::format("a grid of {} x {} is outside 0..{} x 0..{}", m.NrCols, m.NrRows,
                                      kMaxGridCols, kMaxGridRows));
  if (m.NrElectrodes < 0 || m.NrElectrodes > kChannels)
    throw ConversionError(in.Path(), in.LineNumber(),
                          fmt::format("an electrode count of {} is outside 0..{}", m.NrElectrodes, kChannels));
}

void ReadCounts(TextReader& in, MatrixFileContents& m) {
  m.NrElectrodes = in.ReadInt("the electrode count");
  m.NrCols = in.ReadInt("the column count");
  m.NrRows = in.ReadInt("the row count");
  m.ElectrodeDistance = in.ReadReal("the electrode distance");
  CheckGridSize(in, m);
  in.NextLine();
}

int32_t ReadCell(TextReader& in, int col, int row) {
  const int32_t channel = in.ReadInt(fmt::format("the channel at column {} of row {}", col, row));
  if (channel > kChannels)
    throw ConversionError(in.Path(), in.LineNumber(),
                          fmt::format("channel {} at column {} of row {} is above {}", channel, col, row, kChannels));
  return channel;
}

int32_t ReadPosition(TextReader& in, int channel, const char* axis, int limit) {
  const int32_t value = in.ReadInt(fmt::format("the {} of channel {}", axis, channel));
  if (value >= limit)
    throw ConversionError(in.Path(), in.LineNumber(),
                          fmt::format("the {} {} of channel {} lies outside the grid", axis, value, channel));
  return value;
}

void RefuseWithoutElectrodes(const std::string& path, const MatrixFileContents& m, bool placesAny) {
  if (!placesAny)
    throw IoError(path, fmt::format("no electrode lies on its {} x {} grid; it is not a usable matrix file", m.NrCols,
                                    m.NrRows));
}

}  // namespace

MatrixFileContents MatrixFile::ReadNew(const std::string& path) {
  TextReader in = TextReader::FromFile(path);
  MatrixFileContents m;
  const int32_t marker = in.ReadInt("the format marker -2");
  if (marker != -2)
    throw ConversionError(path, in.LineNumber(),
                          fmt::format("the file starts with {}, not with the marker -2 of a new-format matrix file",
                                      marker));
  in.NextLine();
  ReadCounts(in, m);
  in.NextLine();  // the third line is a free comment
  m.cells.reserve(size_t(m.NrCols) * size_t(m.NrRows));
  for (int row = 1; row <= m.NrRows; ++row) {
    for (int col = 1; col <= m.NrCols; ++col) m.cells.push_back(ReadCell(in, col, row));
    in.NextLine();
  }
  // Channel 0 and empty cells (-1) give no electrode a position.
  RefuseWithoutElectrodes(path, m, std::any_of(m.cells.begin(), m.cells.end(), [](int32_t c) { return c >= 1; }));
  return m;
}

MatrixFileContents MatrixFile::ReadOld(const std::string& path) {
  TextReader in = TextReader::FromFile(path);
  MatrixFileContents m;
  m.oldFormat = true;
  ReadCounts(in, m);
  for (int channel = 1; channel <= m.NrElectrodes; ++channel) {
    int32_t x = ReadPosition(in, channel, "column", kMaxGridCols);
    int32_t y = ReadPosition(in, channel, "row", kMaxGridRows);
    in.NextLine();
    // The file counts from 0; a negative number in either place takes the channel off the grid.
    if (x > -1 && y > -1) {
      m.positions.emplace_back(x + 1, y + 1);
    } else {
      m.positions.emplace_back(-1, -1);
    }
  }
  const auto onGrid = [&m](const std::pair<int32_t, int32_t>& p) {
    return p.first >= 1 && p.first <= m.NrCols && p.second >= 1 && p.second <= m.NrRows;
  };
  RefuseWithoutElectrodes(path, m, std::any_of(m.positions.begin(), m.positions.end(), onGrid));
  return m;
}

namespace {

void ApplyNew(AnalysisState& s, const MatrixFileContents& m) {
  std::fill(s.GridElectrode.begin(), s.GridElectrode.end(), -1);
  s.NrElectrodes = m.NrElectrodes;
  s.NrCols = m.NrCols;
  s.NrRows = m.NrRows;
  s.ElectrodeDistance = m.ElectrodeDistance;
  for (int row = 1; row <= m.NrRows; ++row) {
    for (int col = 1; col <= m.NrCols; ++col) {
      const int32_t channel = m.cells[size_t(row - 1) * size_t(m.NrCols) + size_t(col - 1)];
      if (channel < 0) continue;
      s.GridCell(col, row) = channel;
      if (channel >= 1) {
        s.ElectrodeX[size_t(channel - 1)] = col;
        s.ElectrodeY[size_t(channel - 1)] = row;
      }
    }
  }
}

// The old format keeps no cells of its own; the grid is laid anew from the positions so that
// everything reading the grid (trace orders, keys, crossed-out cells, isochrones) sees this
// matrix and not the one loaded before it. A cell claimed twice holds the higher channel.
void ApplyOld(AnalysisState& s, const MatrixFileContents& m) {
  std::fill(s.GridElectrode.begin(), s.GridElectrode.end(), -1);
  s.NrElectrodes = m.NrElectrodes;
  s.NrCols = m.NrCols;
  s.NrRows = m.NrRows;
  s.ElectrodeDistance = m.ElectrodeDistance;
  for (size_t n = 0; n < m.positions.size(); ++n) {
    s.ElectrodeX[n] = m.positions[n].first;
    s.ElectrodeY[n] = m.positions[n].second;
    if (m.positions[n].first >= 1) s.GridCell(m.positions[n].first, m.positions[n].second) = int32_t(n + 1);
  }
}

}  // namespace

void MatrixFile::Apply(AnalysisState& s, const MatrixFileContents& m) {
  s.ElectrodeX.fill(-1);
  s.ElectrodeY.fill(-1);
  if (m.oldFormat) {
    ApplyOld(s, m);
  } else {
    ApplyNew(s, m);
  }
  if (!(s.ElectrodeDistance >= 0 && s.ElectrodeDistance <= 100)) s.ElectrodeDistance = 1.0;
  // A grid at least twice as wide as high puts the panes above each other.
  s.TileStacked = s.NrCols / 2 >= s.NrRows;
  // A pane shows at least one trace, even for a grid without columns.
  s.NrTraces = std::max(1, s.NrCols);
}

bool LoadNewMatrix(AnalysisState& state) {
  MatrixFile::Apply(state, MatrixFile::ReadNew(state.MatrixFileName));
  return true;
}

bool LoadMatrix(AnalysisState& state) {
  MatrixFile::Apply(state, MatrixFile::ReadOld(state.MatrixFileName));
  return true;
}

}  // namespace velmora
