#pragma once

#include <cstdint>
#include <string>

#include "core/Limits.h"

namespace velmora {

struct AnalysisState;

// The signal store is sized to each recording: a load releases the store of the recording
// before it and takes one of exactly the rows it fills. What it may take is bounded by the
// memory the machine has free, which is checked before a file is read, so a recording too
// long for the machine is refused instead of failing half way.
class SignalStore {
 public:
  static constexpr int64_t kBytesPerRow = kChannels * int64_t(sizeof(int32_t));
  // Kept back for the program itself, its windows and the rest of the machine.
  static constexpr int64_t kReserveBytes = int64_t(256) << 20;

  // Memory the system can give without swapping, from MemAvailable (or the free pages where
  // that is not known).
  static int64_t AvailableBytes();
  // The most rows a store may have when `otherBytes` are needed beside it for the load, given
  // `available` bytes of free memory and the store of `state` that the load releases.
  static int64_t LargestRows(const AnalysisState& state, int64_t available, int64_t otherBytes = 0);
  static int64_t LargestRows(const AnalysisState& state) { return LargestRows(state, AvailableBytes()); }
  // Throws IoError naming `path` when `rows` rows (plus `otherBytes`) do not fit in `available`.
  static void CheckFitsIn(const AnalysisState& state, const std::string& path, int64_t rows, int64_t available,
                          int64_t otherBytes = 0);
  static void CheckFits(const AnalysisState& state, const std::string& path, int64_t rows, int64_t otherBytes = 0) {
    CheckFitsIn(state, path, rows, AvailableBytes(), otherBytes);
  }
  // Releases the store and makes one of `rows` zeroed rows; the old one is gone before the
  // new one is taken, so the two are never held at once.
  static void Resize(AnalysisState& state, int rows);
  // A store of `rows` rows whose every sample the caller then writes: the store held is kept
  // as it is when it has that size (no pages to fault in and clear again), else as Resize.
  static void ResizeForOverwrite(AnalysisState& state, int rows);
  // No recording loaded: what a reader leaves when a recording's samples could not be read,
  // so that it is never half shown.
  static void Unload(AnalysisState& state);
  // Rows a computation over a window may take: those of the store and, past a recording
  // shorter than the 65,535 rows the store used to hold at least, zeros up to there, so a
  // window reaching past a short recording's end gives what it always gave.
  static int64_t ZeroPaddedRows(const AnalysisState& state);
  // "3.1 GB", "640 MB": the size a message names.
  static std::string SizeText(int64_t bytes);
};

}  // namespace velmora
