#pragma once

#include <cstdint>
#include <vector>

namespace velmora {

// Copies the samples the traces of a pane take out of the signal store, trace by trace.
//
// The store holds a row per sample with all channels side by side; a trace wants one channel
// (less its neighbour for a bipolar trace) of every step-th row, as one run of values. Rows
// are read in tiles of 16 so each row is fetched once for all traces, and the tile's values
// are handed out trace by trace. Traces on four neighbouring channels, as a pane in channel
// order shows them, are handed out four rows at a time with vector instructions.
class TraceSampleGather {
 public:
  struct Source {
    int column = 0;     // 0-based channel
    int neighbour = -1; // the column a bipolar trace subtracts, -1 for none
  };

  // out[i * count + j] = the value of sources[i] in row firstRow + j * step, for j < count.
  // The rows must lie in `store`, the signal store (rows of 256 columns).
  static void Gather(const int32_t* store, int firstRow, int step, int count, const std::vector<Source>& sources,
                     int32_t* out);
};

}  // namespace velmora
