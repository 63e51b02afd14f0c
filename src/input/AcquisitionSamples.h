#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "input/AcquisitionLayout.h"
#include "input/AcquisitionPlan.h"

namespace velmora {

// Turns the data records of an EDF, BDF or GDF file into rows of the signal store: each
// electrode signal's samples scaled to physical values, in whole microvolts (rounded, halves
// to even), less the channel's offset, clipped to what the store holds. Where a signal lies
// in a record, the type of its samples and their scaling are the format library's; this
// class only turns numbers of plain types into microvolts and lays them out as rows.
class AcquisitionSamples {
 public:
  // Samples per electrode the offsets are taken from: whole records spread evenly over the
  // recording, all of them in a short one.
  static constexpr int64_t kOffsetSamples = 32768;

  struct Clipping {
    int64_t samples = 0;
    int64_t most = 0;  // microvolts beyond the store's range, the largest
  };

  // `fd` is the open file; it stays the caller's.
  AcquisitionSamples(int fd, const std::string& path, const AcquisitionLayout& layout, const AcquisitionPlan& plan);

  // Each electrode's median in whole microvolts, in the order of plan.electrodes: what a
  // DC-coupled amplifier adds to every sample of the channel. Throws IoError.
  std::vector<int32_t> Medians() const;

  // Writes whole rows of the store (256 values each; columns of no electrode get 0) for
  // records [first, end): sample g of the file goes to row g - 1. `between` is called after
  // every block of rows with the records done so far and returns false to stop. Throws
  // IoError; returns the clipping per electrode.
  std::vector<Clipping> Fill(int32_t* store, const std::vector<int32_t>& offsets, int64_t first, int64_t end,
                             const std::function<bool(int64_t)>& between) const;

  // Records the file is read in at a time: about four thousand rows of the store.
  int64_t RecordsPerBlock() const;

 private:
  void ReadRecords(int64_t first, int64_t count, std::vector<uint8_t>& into) const;
  // The file's numbers of samples [g, g + count) of electrode `e`, counted from the start of
  // the records in `records`, which begin with record `firstRecord`.
  void Digital(const uint8_t* records, int64_t firstRecord, size_t e, int64_t g, int64_t count, double* out) const;

  int fd_;
  const std::string& path_;
  const AcquisitionLayout& layout_;
  const AcquisitionPlan& plan_;
  std::vector<double> gain_, shift_;  // per electrode: microvolts = digital x gain + shift
};

}  // namespace velmora
