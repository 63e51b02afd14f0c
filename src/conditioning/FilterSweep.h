#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "conditioning/Biquad.h"

namespace velmora {

// The filter chain walked over the rows of the store for some blocks of eight neighbouring
// columns, all of them at once, row after row: first forward from the first row to the last
// through every section, then backward from the last row to the first through every section
// again, so that the phase shifts cancel. The forward results wait in the store, as 32-bit
// floats in the place of their samples; the backward sweep turns them into whole microvolts,
// through the Savitzky-Golay smoothing when it is on. Columns of a block that are not to be
// filtered are left as they are. A chain of up to eight sections without smoothing takes the
// rows in stretches of 128, each block down a stretch before the next, its states held in
// registers.
class FilterSweep {
 public:
  static constexpr int kLanes = 8;

  // `blocks` are the blocks' first columns divided by kLanes; `filtered` has a flag per
  // column of the store.
  FilterSweep(int32_t* store, int64_t rows, const std::vector<int>& blocks, const std::vector<bool>& filtered,
              const std::vector<Biquad>& sections, const std::vector<double>& smoothing);
  ~FilterSweep();
  FilterSweep(const FilterSweep&) = delete;
  FilterSweep& operator=(const FilterSweep&) = delete;

  // Rows [done, to) forward; the first call starts at row 0.
  void Forward(int64_t to);
  // Rows down to `to` backward, after the whole forward sweep; the first call starts at the
  // last row. At row 0 the rows the smoothing still holds are written too.
  void Backward(int64_t to);

 private:
  struct Lanes;
  std::unique_ptr<Lanes> lanes_;
};

}  // namespace velmora
