#include "waves/WaveSearch.h"

#include <algorithm>
#include <climits>
#include <functional>

#include "core/AnalysisState.h"
#include "core/Arithmetic.h"

namespace velmora {

namespace {

constexpr int kDirections[8][2] = {{0, -1}, {1, -1}, {1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}, {-1, -1}};

int PaneMarkType(const AnalysisState& s) { return s.MarkType[s.ActivePane == 2 ? 1 : 0]; }

}  // namespace

WaveSearch::WaveSearch() : sorted_(kChannels) { front_.reserve(kChannels); }

void WaveSearch::CalculateWaves(AnalysisState& state, const WaveStarted& onWave) {
  IniWaveMap(state);
  LoadTim(state);
  state.NrWaves = DropSmallWaves(BuildWaves(kMaxWaves, onWave), state.MinSitesPerWave);
}

int WaveSearch::Sites(int wave) const {
  int sites = 0;
  for (int channel = 1; channel <= kChannels; ++channel) sites += WaveTime(channel, wave) != kNoValue;
  return sites;
}

// The waves keep their order; their marks stay taken, so they join no other wave.
int WaveSearch::DropSmallWaves(int built, int32_t minSites) {
  if (minSites <= 1) return built;
  int kept = 0;
  for (int wave = 1; wave <= built; ++wave) {
    if (Sites(wave) < minSites) continue;
    if (++kept == wave) continue;
    for (int channel = 1; channel <= kChannels; ++channel) Times(channel, kept) = Times(channel, wave);
  }
  waveTimes_.resize(size_t(kept) * kChannels);
  return kept;
}

int WaveSearch::BuildWaves(int lastWave, const WaveStarted& onWave) {
  lastWave = std::clamp(lastWave, 0, kMaxWaves);
  for (int wave = 1; wave <= lastWave; ++wave) {
    if (onWave) onWave(wave);
    waveTimes_.resize(size_t(wave) * kChannels, kNoValue);
    if (!FindEarliest(wave)) {
      waveTimes_.resize(size_t(wave - 1) * kChannels);
      return wave - 1;
    }
    FindWave(wave);
  }
  return lastWave;
}

void WaveSearch::IniWaveMap(AnalysisState& state) {
  state.NrWaves = 0;
  wavesDone_ = false;
  front_.clear();
  markTimes_.clear();
  waveTimes_.clear();
  slotsPerChannel_ = 0;
  slotCount_.fill(0);
  earliestEntry_.fill(0);
}

namespace {

// The relative time with which a mark of `type` loads, or NoValue when it does not load.
int32_t LoadedTime(const AnalysisState& s, const MarkRecord& mark, int type) {
  if (mark.Electrode < kFirstElectrode || mark.Electrode > kChannels || mark.Kind != type) return kNoValue;
  if (mark.Time == kNoValue || mark.Time < s.ReferenceTime) return kNoValue;
  return TimeBetween(s.ReferenceTime, mark.Time);
}

}  // namespace

int32_t WaveSearch::SearchLimit(const AnalysisState& s) {
  if (s.SigLength <= kStartSignalRows) return kShortestWaveSearchLimit;
  return int32_t(std::min<int64_t>(int64_t(s.SigLength) + 1, INT32_MAX));
}

void WaveSearch::LoadTim(const AnalysisState& s) {
  const int type = PaneMarkType(s);
  difference_ = type >= 1 && type <= 3 ? s.WaveDifference[size_t(type - 1)] : 0;
  searchLimit_ = SearchLimit(s);
  CountSlots(s, type);
  slotCount_.fill(0);
  for (int number = 1; number <= s.MarkCount; ++number) {
    const MarkRecord& mark = s.Mark(number);
    const int32_t relative = LoadedTime(s, mark, type);
    if (relative != kNoValue) Slot(mark.Electrode, slotCount_[size_t(mark.Electrode - 1)]++) = relative;
  }
  SortChannelEntries();
  BuildGrid(s);
}

// Room for every mark that loads: as many slots per channel as the busiest channel needs.
void WaveSearch::CountSlots(const AnalysisState& s, int type) {
  std::array<int32_t, kChannels> counts{};
  for (int number = 1; number <= s.MarkCount; ++number) {
    const MarkRecord& mark = s.Mark(number);
    if (LoadedTime(s, mark, type) != kNoValue) ++counts[size_t(mark.Electrode - 1)];
  }
  slotsPerChannel_ = *std::max_element(counts.begin(), counts.end());
  markTimes_.assign(size_t(kChannels) * size_t(slotsPerChannel_), kNoValue);
}

void WaveSearch::SortChannelEntries() {
  const auto earlier = [](const Entry& a, const Entry& b) {
    return a.time != b.time ? a.time < b.time : a.slot < b.slot;
  };
  for (int channel = 1; channel <= kChannels; ++channel) {
    std::vector<Entry>& entries = sorted_[size_t(channel - 1)];
    entries.clear();
    for (int slot = 0; slot < slotCount_[size_t(channel - 1)]; ++slot) entries.push_back({Slot(channel, slot), slot});
    // Marks are mostly stored in time order already.
    if (!std::is_sorted(entries.begin(), entries.end(), earlier)) std::sort(entries.begin(), entries.end(), earlier);
  }
}

void WaveSearch::BuildGrid(const AnalysisState& s) {
  cols_ = std::clamp(s.NrCols, 0, kMaxGridCols);
  rows_ = std::clamp(s.NrRows, 0, kMaxGridRows);
  grid_.assign(size_t(cols_) * size_t(rows_), kNoValue);
  for (int channel = kChannels; channel >= 1; --channel) {
    const int column = s.ElectrodeX[size_t(channel - 1)], row = s.ElectrodeY[size_t(channel - 1)];
    if (column >= 1 && column <= cols_ && row >= 1 && row <= rows_) grid_[size_t(ScanPosition(column, row))] = channel;
  }
  startSites_.clear();
  for (int position = 0; position < int(grid_.size()); ++position) {
    const int32_t channel = grid_[size_t(position)];
    if (channel != kNoValue && slotCount_[size_t(channel - 1)] > 0) startSites_.push_back(position);
  }
}

int32_t WaveSearch::Elenr(const AnalysisState& s, int column, int row) {
  for (int channel = 1; channel <= kChannels; ++channel) {
    if (s.ElectrodeX[size_t(channel - 1)] == column && s.ElectrodeY[size_t(channel - 1)] == row) return channel;
  }
  return kNoValue;
}

bool WaveSearch::FindEarliest(int wave) {
  int bestPosition = -1, bestSlot = -1;
  int32_t bestTime = searchLimit_;
  for (const int position : startSites_) {
    const int32_t channel = grid_[size_t(position)];
    const std::vector<Entry>& entries = sorted_[size_t(channel - 1)];
    int32_t& head = earliestEntry_[size_t(channel - 1)];
    while (head < int32_t(entries.size()) && Slot(channel, entries[size_t(head)].slot) == kNoValue) ++head;
    if (head == int32_t(entries.size())) continue;
    const Entry& entry = entries[size_t(head)];
    if (entry.time < bestTime) {
      bestTime = entry.time;
      bestPosition = position;
      bestSlot = entry.slot;
    }
  }
  if (bestPosition < 0) {
    wavesDone_ = true;
    return false;
  }
  current_ = Site{bestPosition / rows_ + 1, bestPosition % rows_ + 1, bestTime};
  ShfTim(wave, current_.column, current_.row, bestSlot);
  return true;
}

void WaveSearch::ShfTim(int wave, int column, int row, int slot) {
  const int32_t channel = ChannelAtPosition(column, row);
  int32_t& time = Slot(channel, slot);
  Times(channel, wave) = time;
  time = kNoValue;
}

void WaveSearch::FindWave(int wave) {
  do {
    for (const auto& step : kDirections) FindNext(wave, step[0], step[1]);
  } while (UpdateActive());
}

bool WaveSearch::FindNext(int wave, int columnStep, int rowStep) {
  const int column = current_.column + columnStep, row = current_.row + rowStep;
  if (column < 1 || column > cols_ || row < 1 || row > rows_) return false;
  const int32_t channel = ChannelAtPosition(column, row);
  if (channel == kNoValue || Times(channel, wave) != kNoValue) return false;
  const int slot = NearestSlot(channel, current_.time);
  if (slot < 0) return false;
  const int32_t time = Slot(channel, slot);
  ShfTim(wave, column, row, slot);
  front_.push_back({time, ScanPosition(column, row)});
  std::push_heap(front_.begin(), front_.end(), std::greater<>());
  return true;
}

int WaveSearch::NearestSlot(int channel, int32_t t) const {
  const std::vector<Entry>& entries = sorted_[size_t(channel - 1)];
  const int64_t low = std::max<int64_t>(int64_t(t) - difference_, 0), high = int64_t(t) + difference_;
  const auto free = [&](const Entry& e) { return Slot(channel, e.slot) != kNoValue; };
  const auto above = std::partition_point(entries.begin(), entries.end(), [t](const Entry& e) { return e.time < t; });
  int bestSlot = -1;
  int64_t bestDistance = high - low + 1;
  // Upwards the first free entry is the nearest, and of equal times the lowest slot.
  for (auto it = above; it != entries.end() && it->time < high; ++it) {
    if (it->time > low && free(*it)) {
      bestDistance = int64_t(it->time) - t;
      bestSlot = it->slot;
      break;
    }
  }
  // Downwards equal times come highest slot first, so every entry as near as the best counts.
  for (auto it = std::make_reverse_iterator(above); it != entries.rend() && it->time > low; ++it) {
    const int64_t distance = int64_t(t) - it->time;
    if (distance > bestDistance) break;
    if (!free(*it)) continue;
    if (distance < bestDistance || it->slot < bestSlot) {
      bestDistance = distance;
      bestSlot = it->slot;
    }
  }
  return bestSlot;
}

bool WaveSearch::UpdateActive() {
  if (front_.empty()) return false;
  std::pop_heap(front_.begin(), front_.end(), std::greater<>());
  const FrontKey next = front_.back();
  front_.pop_back();
  current_ = Site{next.second / rows_ + 1, next.second % rows_ + 1, next.first};
  return true;
}

int32_t WaveSearch::WaveTime(int channel, int wave) const {
  if (channel < 1 || channel > kChannels || wave < 1 || size_t(wave) * kChannels > waveTimes_.size()) return kNoValue;
  return waveTimes_[size_t(wave - 1) * kChannels + size_t(channel - 1)];
}

}  // namespace velmora
