#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velmora {

struct AnalysisState;

// The contents of an electrode matrix file, checked but not yet applied to the state.
struct MatrixFileContents {
  bool oldFormat = false;
  int32_t NrElectrodes = 0, NrCols = 0, NrRows = 0;
  double ElectrodeDistance = 1.0;
  std::vector<int32_t> cells;  // new format: NrCols x NrRows channel numbers, row by row
  std::vector<std::pair<int32_t, int32_t>> positions;  // old format: 1-based x, y of channel n
};

// Electrode matrix files in both formats. Reading checks the whole file before anything of
// the state changes: words where numbers belong, channels above 256, grids above 100 x 100
// and files that end early throw a ConversionError that names the file and line. A file that
// places no electrode on its grid (a new-format file without the -2 marker, a 0 x 0 grid,
// any other text whose numbers happen to read) throws IoError: taking it would leave the
// recording without a grid.
class MatrixFile {
 public:
  static MatrixFileContents ReadNew(const std::string& path);
  static MatrixFileContents ReadOld(const std::string& path);

  // Puts a checked matrix into the electrode grid, then sets TileStacked and NrTraces.
  static void Apply(AnalysisState& state, const MatrixFileContents& matrix);
};

// Reads state.MatrixFileName in the new format into the grid; throws on a bad file.
bool LoadNewMatrix(AnalysisState& state);
// Reads state.MatrixFileName in the old format; throws on a bad file.
bool LoadMatrix(AnalysisState& state);

}  // namespace velmora
