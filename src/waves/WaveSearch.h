#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

#include "core/Limits.h"

namespace velmora {

struct AnalysisState;

// Groups the marks of the active pane's mark kind into numbered propagating waves: wave n
// starts at the earliest mark still free and grows to neighbouring electrodes (eight
// directions) whose marks lie within the kind's wave difference of the site they grow from,
// always expanding the earliest site on the front next.
//
// The grid is never rescanned per step: each channel keeps its marks sorted by time, so the
// earliest free mark of a channel and the nearest candidate of a neighbour are found by
// looking around one position, and the front is a heap ordered like the grid scan (time,
// then column, then row). Every tie therefore falls as the scan would let it fall.
class WaveSearch {
 public:
  // Wave numbers go no higher: every wave takes at least one mark. The search itself stops
  // when no mark is left to start one, and every mark of a channel takes part.
  static constexpr int kMaxWaves = kMaxMarks;
  // A time at or above the search limit never starts a wave (it can still join one). A
  // recording that fits the 65,535 rows the store used to hold keeps the limit of 64,000 ms
  // its waves have always been built with; in a longer one the limit lies past its end, so a
  // late mark starts a wave as an early one does.
  static constexpr int32_t kShortestWaveSearchLimit = 64000;
  static int32_t SearchLimit(const AnalysisState& state);

  // Called before each wave number is tried, with that number; the workbench repaints its
  // progress label there.
  using WaveStarted = std::function<void(int wave)>;

  WaveSearch();

  // The whole calculation: IniWaveMap, LoadTim, then waves 1.. until no mark can start one or
  // the cap is reached; then the waves of fewer than MinSitesPerWave sites leave the list and
  // the others are numbered again from 1. Sets NrWaves in the state.
  void CalculateWaves(AnalysisState& state, const WaveStarted& onWave = {});
  // Builds waves 1..lastWave only (the composite map stops there); returns how many were built.
  int BuildWaves(int lastWave, const WaveStarted& onWave = {});

  void IniWaveMap(AnalysisState& state);
  void LoadTim(const AnalysisState& state);
  // Starts wave n at the earliest free mark; false when there is none (WavesDone).
  bool FindEarliest(int wave);
  void FindWave(int wave);

  // The time (relative to the reference) with which `channel` takes part in `wave`, or
  // NoValue; NoValue as well for waves and channels outside the tables.
  int32_t WaveTime(int channel, int wave) const;
  // The channels taking part in `wave`.
  int Sites(int wave) const;
  // Drops the waves of fewer than `minSites` sites from waves 1..built and numbers the others
  // again from 1; returns how many are left.
  int DropSmallWaves(int built, int32_t minSites);
  // The lowest channel placed at (column, row), or NoValue.
  static int32_t Elenr(const AnalysisState& state, int column, int row);
  bool WavesDone() const { return wavesDone_; }

 private:
  struct Entry {
    int32_t time;
    int32_t slot;
  };
  struct Site {
    int column = 0, row = 0;
    int32_t time = 0;
  };
  using FrontKey = std::pair<int32_t, int32_t>;  // time, scan position

  int32_t& Slot(int channel, int slot) { return markTimes_[size_t(channel - 1) * size_t(slotsPerChannel_) + size_t(slot)]; }
  int32_t Slot(int channel, int slot) const {
    return markTimes_[size_t(channel - 1) * size_t(slotsPerChannel_) + size_t(slot)];
  }
  // Wave n's times lie at [(n - 1) x 256, n x 256): the table grows a wave at a time.
  int32_t& Times(int channel, int wave) { return waveTimes_[size_t(wave - 1) * kChannels + size_t(channel - 1)]; }
  void CountSlots(const AnalysisState& state, int type);
  int ScanPosition(int column, int row) const { return (column - 1) * rows_ + (row - 1); }
  int32_t ChannelAtPosition(int column, int row) const { return grid_[size_t(ScanPosition(column, row))]; }
  void BuildGrid(const AnalysisState& state);
  void SortChannelEntries();
  // Finds the free slot of `channel` nearest to t within (max(t - e, 0), t + e); -1 for none.
  int NearestSlot(int channel, int32_t t) const;
  bool FindNext(int wave, int columnStep, int rowStep);
  void ShfTim(int wave, int column, int row, int slot);
  bool UpdateActive();

  std::vector<int32_t> markTimes_;   // WaveMarkTimes: channel x slot, NoValue when taken or empty
  std::vector<int32_t> waveTimes_;   // WaveTimes: wave x channel, for the waves built so far
  int slotsPerChannel_ = 0;          // the most marks any channel loads
  int32_t searchLimit_ = kShortestWaveSearchLimit;
  std::array<int32_t, kChannels> slotCount_{};
  std::array<int32_t, kChannels> earliestEntry_{};  // first possibly free entry of each channel
  std::vector<std::vector<Entry>> sorted_;          // per channel, by time then slot
  std::vector<int32_t> grid_;                       // Elenr of each scan position
  std::vector<int> startSites_;                     // scan positions whose channel holds marks
  std::vector<FrontKey> front_;                     // the front, without the current site
  int cols_ = 0, rows_ = 0;
  int32_t difference_ = 0;
  Site current_;
  bool wavesDone_ = false;
};

}  // namespace velmora
